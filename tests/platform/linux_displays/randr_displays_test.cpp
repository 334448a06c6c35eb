#include <gtest/gtest.h>

#include "platform/linux/randr_displays.h"
#include "ramp/build_ramp.h"
#include "ramp/curve_file.h"
#include "ramp/load_curves.h"
#include "tests/temp_folder.h"
#include "ramp/display_discovery.h"
#include "ramp/no_displays.h"
#include "ramp/ramp_access.h"
#include "tests/platform/linux_displays/x_server_setup.h"

namespace {

// Runs under tests/e2e/with_xvfb.sh: one 1024 x 768 screen, whose single
// output "screen" is driven by a CRTC with a 256-entry ramp.
class RandrDisplays : public ::testing::Test {
 protected:
  RandrDisplays() { SetDisplaysPort(randr_); }
  ~RandrDisplays() override {
    ReleaseDisplays();
    DeleteFirstOutputEdid();
    static TNoDisplays none;
    SetDisplaysPort(none);
  }

  std::vector<TMonitorHandle> Monitors() {
    std::vector<TMonitorHandle> handles;
    randr_.EnumMonitors([&](TMonitorHandle h) {
      handles.push_back(h);
      return true;
    });
    return handles;
  }

  TRandrDisplays randr_;
};

std::vector<uint8_t> ModelXEdid() {
  std::vector<uint8_t> edid(256, 0);
  edid[8] = 0x04;  // maker "ABC", product 0x1234
  edid[9] = 0x43;
  edid[10] = 0x34;
  edid[11] = 0x12;
  const uint8_t name[] = {0, 0, 0, 0xFC, 0, 'M', 'o', 'd', 'e', 'l', ' ', 'X', '\n'};
  const uint8_t serial[] = {0, 0, 0, 0xFF, 0, '1', '2', '3', '4', '5', '\n'};
  std::copy(std::begin(name), std::end(name), edid.begin() + 72);
  std::copy(std::begin(serial), std::end(serial), edid.begin() + 90);
  return edid;
}

TGammaRamp Ramp(int start, int step) {
  TGammaRamp ramp{};
  for (size_t i = 0; i < ramp.size(); ++i)
    ramp[i] = static_cast<uint16_t>(start + static_cast<int>(i % 256) * step + static_cast<int>(i / 256) * 7);
  return ramp;
}

TEST_F(RandrDisplays, TheConnectedOutputIsTheMonitor) {
  ASSERT_TRUE(randr_.Connected());
  const auto monitors = Monitors();
  ASSERT_EQ(monitors.size(), 1u);
  TMonitorInfo info;
  ASSERT_TRUE(randr_.QueryMonitorInfo(monitors[0], info));
  EXPECT_EQ(info.Monitor, (TRect{0, 0, 1024, 768}));
  EXPECT_EQ(info.DeviceName, FirstOutputName());
  EXPECT_EQ(info.Flags, 1u);
  TDisplayDevice device;
  ASSERT_TRUE(randr_.QueryDisplayDevice(info.DeviceName, device));
  EXPECT_EQ(device.DeviceString, "Generic PnP Monitor");
  EXPECT_EQ(device.DeviceID, "");
  EXPECT_FALSE(randr_.QueryDisplayDevice("DP-9", device));
  EXPECT_EQ(randr_.MonitorDpi(monitors[0]), 96);
}

TEST_F(RandrDisplays, ARampLoadedIntoTheCrtcIsReadBack) {
  const auto monitors = Monitors();
  TDisplayHandle crtc = randr_.CreateDisplayHandle(monitors[0], "");
  ASSERT_NE(crtc, nullptr);
  const TGammaRamp ramp = Ramp(100, 250);
  ASSERT_TRUE(randr_.SetRamp(crtc, ramp));
  TGammaRamp read{};
  ASSERT_TRUE(randr_.GetRamp(crtc, read));
  EXPECT_EQ(read, ramp);

  // A second connection sees the same video card.
  TRandrDisplays other;
  other.EnumMonitors([](TMonitorHandle) { return true; });
  TGammaRamp seen{};
  ASSERT_TRUE(other.GetRamp(other.CreateDisplayHandle(monitors[0], ""), seen));
  EXPECT_EQ(seen, ramp);
}

TEST_F(RandrDisplays, UnknownHandlesFailQuietly) {
  Monitors();
  TGammaRamp ramp{};
  void* const unknown = reinterpret_cast<void*>(uintptr_t{42});
  EXPECT_FALSE(randr_.GetRamp(unknown, ramp));
  EXPECT_FALSE(randr_.SetRamp(unknown, ramp));
  EXPECT_EQ(randr_.CreateDisplayHandle(unknown, "screen"), nullptr);
  TMonitorInfo info;
  EXPECT_FALSE(randr_.QueryMonitorInfo(unknown, info));
}

TEST_F(RandrDisplays, TheEdidPropertyGivesModelCodeAndName) {
  SetFirstOutputEdid(ModelXEdid());
  EnumerateDisplays();
  ASSERT_EQ(DisplayCount, 1);
  EXPECT_EQ(Displays[0].Device.DeviceID, "MONITOR\\ABC1234\\" + FirstOutputName());
  EXPECT_EQ(Displays[0].Name, "1: Model X 12345");
  EXPECT_EQ(Displays[0].Edid[9], 0x43);
  const auto edid = randr_.ReadEdidOfModel("ABC1234");
  ASSERT_TRUE(edid.has_value());
  EXPECT_EQ(edid->size(), 256u);
  EXPECT_FALSE(randr_.ReadEdidOfModel("DEL40B5").has_value());
}

// The output's EDID property names the monitor; the curve recorded for that
// monitor reaches its CRTC, not the curve stored first.
TEST_F(RandrDisplays, TheOutputsEdidChoosesItsOwnCurve) {
  std::vector<uint8_t> edid = ModelXEdid();
  edid[12] = 0x2A;  // serial number 42
  SetFirstOutputEdid(edid);
  EnumerateDisplays();
  ASSERT_EQ(DisplayCount, 1);
  EXPECT_EQ(Displays[0].Identity, "ABC1234+0000002A+12345+Model%20X");

  TempFolder folder;
  TRampCurve absent, own;
  absent.White = -100;
  own.White = -50;
  WriteBytes(folder.File("Tonemark1.lut"), CurveFileText(absent, "DP-9"));
  WriteBytes(folder.File("Tonemark2.lut"), CurveFileText(own, FirstOutputName()));
  WriteBytes(folder.File("Tonemark.monitors"),
             "[Monitors]\r\nTonemark1.lut=ABC1234+00000001+1+Model%20X\r\nTonemark2.lut=" + Displays[0].Identity + "\r\n");
  TLoadReport report;
  EXPECT_TRUE(LoadCurves(folder.Folder(), report));
  TGammaRamp expected{}, read{};
  BuildRamp(own, expected);
  ASSERT_TRUE(randr_.GetRamp(Displays[0].DC, read));
  EXPECT_EQ(read, expected);
  EXPECT_EQ(report.CurveFiles, std::vector<std::string>{"Tonemark2.lut"});
}

TEST_F(RandrDisplays, EditingAndCancellingRestoresTheCrtc) {
  EnumerateDisplays();
  ASSERT_EQ(DisplayCount, 1);
  TGammaRamp start = Ramp(3, 200);
  ASSERT_TRUE(randr_.SetRamp(Displays[0].DC, start));
  SaveRamps();
  Curves[0].White = -50;
  ASSERT_TRUE(SetCurveRamp(0));
  ASSERT_TRUE(ReadDisplayRamp(0));
  EXPECT_EQ(WorkRamp[255], 52735);  // 65535 x (1 - 50/256)
  RestoreRamps();
  ASSERT_TRUE(ReadDisplayRamp(0));
  EXPECT_EQ(WorkRamp, start);
}

TEST(RandrWithoutServer, FindsNoMonitor) {
  TRandrDisplays nowhere(":999999");
  EXPECT_FALSE(nowhere.Connected());
  int monitors = 0;
  nowhere.EnumMonitors([&](TMonitorHandle) { return ++monitors, true; });
  EXPECT_EQ(monitors, 0);
}

}  // namespace

namespace {

TRandrOutput Output(unsigned long id, unsigned long crtc, const std::string& name, bool monitor,
                    bool primary = false) {
  TRandrOutput output;
  output.Output = id;
  output.Crtc = crtc;
  output.Name = name;
  output.Monitor = monitor;
  output.Primary = primary;
  return output;
}

TEST(MergeMirroredOutputs, OutputsOnOneCrtcAreOneMonitorNamedAfterAll) {
  std::vector<TRandrOutput> outputs{Output(1, 10, "eDP-1", true), Output(2, 20, "DP-1", true),
                                    Output(3, 0, "DP-2", false), Output(4, 10, "HDMI-1", true, true),
                                    Output(5, 10, "HDMI-2", false)};
  MergeMirroredOutputs(outputs);
  EXPECT_EQ(outputs[0].Name, "eDP-1+HDMI-1");
  EXPECT_EQ(outputs[0].Mirrors, (std::vector<unsigned long>{4}));
  EXPECT_TRUE(outputs[0].Monitor);
  EXPECT_TRUE(outputs[0].Primary);
  EXPECT_EQ(outputs[1].Name, "DP-1");
  EXPECT_TRUE(outputs[1].Monitor);
  EXPECT_FALSE(outputs[3].Monitor);
  EXPECT_FALSE(outputs[3].Primary);
  EXPECT_EQ(outputs[4].Name, "HDMI-2");
}

}  // namespace

namespace {

TEST(DpiFromPhysicalSize, RoundsToQuarterStepsAndDistrustsWhatNoMonitorMeasures) {
  EXPECT_EQ(DpiFromPhysicalSize(1920, 527), 96);   // 24", 92.5 DPI
  EXPECT_EQ(DpiFromPhysicalSize(2560, 597), 120);  // 27" QHD, 109 DPI
  EXPECT_EQ(DpiFromPhysicalSize(3840, 597), 168);  // 27" 4K, 163 DPI
  EXPECT_EQ(DpiFromPhysicalSize(3840, 294), 288);  // 13" 4K, 332 DPI
  EXPECT_EQ(DpiFromPhysicalSize(1920, 0), 96);
  EXPECT_EQ(DpiFromPhysicalSize(1920, 16), 96);    // an aspect ratio, not a size
}

}  // namespace

// Display discovery through GDI against Wine's display: Xvfb's one screen of
// 1280 x 1024 (run_on_xvfb.sh) is Wine's single monitor.
#include "platform/windows/display_gdi.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <iostream>

#include "platform/windows/message_boxes.h"
#include "ramp/display_discovery.h"
#include "ramp/no_displays.h"
#include "tests/platform/windows_displays/error_box_watch.h"
#include "tests/platform/windows_displays/registry_monitor.h"
#include "tests/ramp/edid_blocks.h"

namespace {
// Wine's monitor: its device ID "MONITOR\Default_Monitor\{...}\0000" files it
// under this model code.
constexpr const char* WineModel = "Default_Monitor";

class GdiDiscovery : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDisplaysPort(gdi_);
    SetMessagesPort(boxes_);
    EnumerateDisplays();
  }
  void TearDown() override {
    ReleaseDisplays();
    static TNoDisplays none;
    static TStreamMessages standardError(std::cerr);
    SetDisplaysPort(none);
    SetMessagesPort(standardError);
  }
  TGdiDisplays gdi_;
  // As Tonemark.exe shows the desktop's messages.
  TMessageBoxes boxes_;
};

TEST_F(GdiDiscovery, FindsWinesMonitorWithItsRectangleDeviceAndModelCode) {
  ASSERT_EQ(DisplayCount, 1);
  const TDisplay& display = Displays[0];
  EXPECT_EQ(display.MonitorInfo.Monitor, (TRect{0, 0, 1280, 1024}));
  EXPECT_EQ(display.MonitorInfo.Flags, 1u) << "the primary monitor";
  EXPECT_EQ(display.MonitorInfo.DeviceName, "\\\\.\\DISPLAY1");
  EXPECT_NE(display.DC, nullptr);
  EXPECT_EQ(display.Device.DeviceString, "Generic Non-PnP Monitor");
  EXPECT_EQ(display.Device.DeviceID.rfind("MONITOR\\Default_Monitor\\", 0), 0u);
  // Wine keeps no EDID for it, so the model code names it.
  EXPECT_EQ(display.Description, WineModel);
  EXPECT_EQ(display.Name, "1: Default_Monitor");
  EXPECT_EQ(display.Edid, TEdid{});
  EXPECT_EQ(Curves.size(), 1u);
  EXPECT_EQ(gdi_.MonitorDpi(display.Monitor), 96);
}

TEST_F(GdiDiscovery, AnEdidInTheRegistryForTheModelNamesTheMonitor) {
  RegistryMonitorModel model(WineModel, RegistryMonitorModel::Shared);
  TEdid edid{};
  PutTextDescriptor(edid, 0, 0xFC, "Model X\n");
  PutTextDescriptor(edid, 1, 0xFF, "12345");
  const std::vector<uint8_t> bytes(edid.begin(), edid.end());
  model.AddInstance("TonemarkTest", &bytes);
  ReleaseDisplays();
  EnumerateDisplays();

  ASSERT_EQ(DisplayCount, 1);
  EXPECT_EQ(Displays[0].Description, "Model X 12345");
  EXPECT_EQ(Displays[0].Name, "1: Model X 12345");
  EXPECT_EQ(Displays[0].Edid, edid);
}

// Two instances of one model: the monitor's identity comes from its own
// (the one naming its driver key), not from the first listed.
TEST_F(GdiDiscovery, TheMonitorsOwnInstanceGivesItsIdentity) {
  RegistryMonitorModel model(WineModel, RegistryMonitorModel::Shared);
  const std::string deviceId = Displays[0].Device.DeviceID;
  const std::string driver = deviceId.substr(std::string("MONITOR\\Default_Monitor\\").size());
  TEdid other{}, own{};
  PutModelAbc1234(other);
  PutModelAbc1234(own);
  PutTextDescriptor(other, 0, 0xFF, "111\n");
  PutTextDescriptor(own, 0, 0xFF, "222\n");
  const std::vector<uint8_t> otherBytes(other.begin(), other.end()), ownBytes(own.begin(), own.end());
  model.AddInstance("0&first", &otherBytes);
  model.AddInstance("9&own", &ownBytes);
  model.SetDriver("9&own", driver);
  ReleaseDisplays();
  EnumerateDisplays();

  ASSERT_EQ(DisplayCount, 1);
  EXPECT_EQ(Displays[0].Identity, "ABC1234++222+");
  EXPECT_EQ(Displays[0].Description, "111") << "the description keeps to the first instance";
}

TEST_F(GdiDiscovery, AFailedMonitorQueryShowsAnErrorBoxAndDiscoveryGoesOn) {
  bool goesOn = false;
  std::vector<std::string> texts;
  {
    ErrorBoxWatch user;
    goesOn = AddMonitor(reinterpret_cast<TMonitorHandle>(0x7777));
    texts = user.Texts();
  }
  EXPECT_TRUE(goesOn);
  // The system's text for ERROR_INVALID_MONITOR_HANDLE.
  EXPECT_EQ(texts, std::vector<std::string>{"Invalid monitor handle."});
}

TEST(GdiMonitorInfo, AnUnknownMonitorHandleIsNotDescribed) {
  TGdiDisplays gdi;
  TMonitorInfo info;
  info.DeviceName = "kept";
  EXPECT_FALSE(gdi.QueryMonitorInfo(reinterpret_cast<TMonitorHandle>(0x7777), info));
  EXPECT_EQ(gdi.LastErrorMessage(), "Invalid monitor handle.");
  TDisplayDevice device;
  EXPECT_FALSE(gdi.QueryDisplayDevice("\\\\.\\DISPLAY9", device));
}
}  // namespace

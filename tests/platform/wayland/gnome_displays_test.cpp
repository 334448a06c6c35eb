// The GNOME back-end against a stand-in Mutter on a private session bus.
#include "platform/wayland/gnome_displays.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "ramp/display_discovery.h"
#include "ramp/ramp_resample.h"
#include "tests/platform/wayland/mutter_stand_in.h"
#include "tests/ramp/edid_blocks.h"
#include "tests/temp_folder.h"

using testing::ElementsAre;

namespace {

// The third is Mutter's virtual monitor, or a monitor whose CRTC takes no ramp.
std::vector<TStandInMonitor> TwoMonitorsAndAThird(bool virtualThird = true) {
  return {{"eDP-1", 1024, "ABC", "Panel 14", "P-0001", 0, 0, 2560, 1600},
          {"DP-1", 256, "XYZ", "Desk 27", "77", 2560, 0, 1920, 1200},
          {"Meta-0", 0, "", "", "", 4480, 0, 1280, 720, virtualThird}};
}

// The kernel's DRM folder with an EDID for eDP-1 only.
void WriteDrmFolder(const TempFolder& drm) {
  TEdid edid{};
  PutModelAbc1234(edid);
  PutTextDescriptor(edid, 0, 0xFC, "Model X\n");
  std::filesystem::create_directories(drm.Path() / "card1-eDP-1");
  std::filesystem::create_directories(drm.Path() / "card1-DP-1");
  WriteBytes(drm.File("card1-eDP-1/edid"), EdidBytes(edid));
  WriteBytes(drm.File("card1-DP-1/edid"), "");
}

TGammaRamp HalfRamp() {
  TGammaRamp ramp{};
  for (int i = 0; i < 768; ++i) ramp[i] = static_cast<uint16_t>((i % 256) * 128);
  return ramp;
}

class GnomeDisplays : public testing::Test {
 protected:
  void Open(bool colorManager, bool virtualThird = true) {
    StartMutter(TwoMonitorsAndAThird(virtualThird), colorManager);
    Enumerate();
  }
  void StartMutter(std::vector<TStandInMonitor> monitors, bool colorManager = false) {
    mutter_ = std::make_unique<MutterStandIn>(std::move(monitors), colorManager);
    ASSERT_TRUE(mutter_->IsUp());
  }
  void Enumerate() {
    setenv("DBUS_SESSION_BUS_ADDRESS", mutter_->Address().c_str(), 1);
    WriteDrmFolder(drm_);
    displays_ = std::make_unique<TGnomeDisplays>(drm_.Path().string());
    SetDisplaysPort(*displays_);
    EnumerateDisplays();
  }
  void TearDown() override {
    ReleaseDisplays();
    displays_.reset();
  }

  TempFolder drm_;
  std::unique_ptr<MutterStandIn> mutter_;
  std::unique_ptr<TGnomeDisplays> displays_;
};

TEST_F(GnomeDisplays, AreMuttersDrivenOutputsInItsOrderNamedByConnector) {
  Open(false);
  ASSERT_EQ(DisplayCount, 3);
  EXPECT_EQ(Displays[0].MonitorInfo.DeviceName, "eDP-1");
  EXPECT_EQ(Displays[1].MonitorInfo.DeviceName, "DP-1");
  EXPECT_EQ(Displays[2].MonitorInfo.DeviceName, "Meta-0");
  EXPECT_EQ(Displays[1].MonitorInfo.Monitor, (TRect{2560, 0, 4480, 1200}));
  EXPECT_EQ(Displays[2].MonitorInfo.Monitor, (TRect{4480, 0, 5760, 720}));
  EXPECT_EQ(Displays[1].MonitorInfo.Flags, 1u);  // Mutter's primary
  // The kernel's EDID names the first; Mutter's vendor, product and serial the second.
  EXPECT_EQ(Displays[0].Device.DeviceID, "MONITOR\\ABC1234\\eDP-1");
  EXPECT_EQ(Displays[0].Name, "1: Model X");
  EXPECT_EQ(Displays[1].Device.DeviceID, "");
  EXPECT_EQ(Displays[1].Name, "2: XYZ Desk 27 77");
  EXPECT_EQ(Displays[2].Name, "3: Meta-0");  // no names: its connector
}

TEST_F(GnomeDisplays, LoadThroughSetCrtcGammaResampledToTheCrtcsSizeAndBack) {
  Open(false);
  const TGammaRamp ramp = HalfRamp();
  ASSERT_TRUE(DisplaysPort().SetRamp(Displays[0].DC, ramp));
  const std::vector<uint16_t> lut = mutter_->Lut(0);
  ASSERT_EQ(lut.size(), 3u * 1024);
  EXPECT_EQ(lut[0], 0);
  EXPECT_EQ(lut[1023], 32640);
  EXPECT_EQ(lut[2 * 1024 + 1023], 32640);
  TGammaRamp back{};
  ASSERT_TRUE(DisplaysPort().GetRamp(Displays[0].DC, back));
  EXPECT_EQ(back, ReadBackOf(ramp, 1024));
  EXPECT_EQ(DisplaysPort().RampSize(Displays[0].DC), 1024);
  EXPECT_THAT(mutter_->Calls(), ElementsAre("GetCurrentState", "GetResources", "GetCrtcGamma 1 0",
                                            "SetCrtcGamma 1 0 1024",
                                            "GetCrtcGamma 1 0"));
}

TEST_F(GnomeDisplays, AskAgainForTheSerialWhenMutterRefusesAStaleOne) {
  Open(false);
  ASSERT_TRUE(DisplaysPort().SetRamp(Displays[1].DC, HalfRamp()));
  mutter_->ChangeConfiguration();
  mutter_->ClearCalls();
  ASSERT_TRUE(DisplaysPort().SetRamp(Displays[1].DC, HalfRamp()));
  EXPECT_THAT(mutter_->Calls(), ElementsAre("SetCrtcGamma 1 1 256", "GetCurrentState", "GetResources",
                                            "SetCrtcGamma 2 1 256"));
}

TEST_F(GnomeDisplays, AConnectorGoneFromItsCrtcTakesNoRampMeantForTheMonitorNowThere) {
  Open(false);
  ASSERT_TRUE(DisplaysPort().SetRamp(Displays[1].DC, HalfRamp()));
  mutter_->ReplaceMonitor(1, {"HDMI-2", 256, "NEW", "Other", "5", 2560, 0, 1920, 1080});
  const std::vector<uint16_t> others = mutter_->Lut(1);
  EXPECT_FALSE(DisplaysPort().SetRamp(Displays[1].DC, HalfRamp()));
  EXPECT_EQ(mutter_->Lut(1), others);
  EXPECT_EQ(DisplaysPort().RampRefusal(Displays[1].DC), "the display is no longer there");
}

TEST_F(GnomeDisplays, AMonitorThatHasGainedACrtcTakesRampsOnceTheSerialIsAskedAgain) {
  Open(false);
  mutter_->ReplaceMonitor(2, {"Meta-0", 256, "", "", "", 4480, 0, 1280, 720});
  ASSERT_TRUE(DisplaysPort().SetRamp(Displays[1].DC, HalfRamp()));  // refused as stale at first
  ASSERT_TRUE(DisplaysPort().SetRamp(Displays[2].DC, HalfRamp()));
  EXPECT_EQ(mutter_->Lut(2)[255], 32640);
  EXPECT_EQ(DisplaysPort().RampRefusal(Displays[2].DC), "");
}

TEST_F(GnomeDisplays, AMonitorChangedBetweenTheTwoDescriptionsIsAskedForAgain) {
  StartMutter(TwoMonitorsAndAThird());
  // DP-1 unplugged and HDMI-2 plugged in after GetCurrentState, before GetResources.
  mutter_->ReplaceMonitorAfterNextState(1, {"HDMI-2", 256, "NEW", "Other", "5", 2560, 0, 1920, 1080});
  Enumerate();
  ASSERT_EQ(DisplayCount, 3);
  EXPECT_EQ(Displays[1].MonitorInfo.DeviceName, "HDMI-2");
  EXPECT_EQ(DisplaysPort().RampRefusal(Displays[1].DC), "");
  ASSERT_TRUE(DisplaysPort().SetRamp(Displays[1].DC, HalfRamp()));
  EXPECT_THAT(mutter_->Calls(), ElementsAre("GetCurrentState", "GetResources", "GetCurrentState", "GetResources",
                                            "GetCrtcGamma 2 1", "SetCrtcGamma 2 1 256"));
}

// A 5K panel driven as two tiles, each on a CRTC of its own.
TEST_F(GnomeDisplays, ATiledMonitorIsOneDisplayWhoseRampGoesToEveryTile) {
  StartMutter({{"DP-1", 1024, "XYZ", "Wide 5K", "9", 0, 0, 2560, 2880, false, 7},
               {"DP-2", 1024, "XYZ", "Wide 5K", "9", 2560, 0, 2560, 2880, false, 7},
               {"HDMI-1", 256, "ABC", "Side", "3", 5120, 0, 1920, 1080}});
  Enumerate();
  ASSERT_EQ(DisplayCount, 2);
  EXPECT_EQ(Displays[0].MonitorInfo.DeviceName, "DP-1");
  mutter_->ChangeConfiguration();  // both tiles' calls made again on the fresh serial
  ASSERT_TRUE(DisplaysPort().SetRamp(Displays[0].DC, HalfRamp()));
  EXPECT_EQ(mutter_->Lut(0)[1023], 32640);
  EXPECT_EQ(mutter_->Lut(1)[1023], 32640);
  EXPECT_EQ(mutter_->Lut(2)[255], 65535);
}

class GnomeDisplaysEitherWay : public GnomeDisplays, public testing::WithParamInterface<bool> {};

TEST_P(GnomeDisplaysEitherWay, ACrtcWithoutARampRefusesWithItsReason) {
  Open(GetParam(), false);
  TGammaRamp ramp{};
  EXPECT_FALSE(DisplaysPort().GetRamp(Displays[2].DC, ramp));
  EXPECT_FALSE(DisplaysPort().SetRamp(Displays[2].DC, HalfRamp()));
  EXPECT_FALSE(DisplaysPort().SetRamp(Displays[2].DC, HalfRamp()));
  EXPECT_EQ(DisplaysPort().RampRefusal(Displays[2].DC).empty(), false);
  EXPECT_EQ(DisplaysPort().RampRefusal(Displays[0].DC), "");
  // With calibration sessions Mutter says so before any ramp is asked for;
  // without, the first GetCrtcGamma's empty answer tells, and nothing more is asked.
  const std::vector<std::string> expected =
      GetParam() ? std::vector<std::string>{"GetCurrentState", "GetResources", "CalibrateMonitor Meta-0"}
                 : std::vector<std::string>{"GetCurrentState", "GetResources", "GetCrtcGamma 1 2"};
  EXPECT_EQ(mutter_->Calls(), expected);
}

TEST_P(GnomeDisplaysEitherWay, AMonitorWithoutACrtcRefusesWithItsReasonAskingNothingMore) {
  Open(GetParam());
  TGammaRamp ramp{};
  EXPECT_FALSE(DisplaysPort().GetRamp(Displays[2].DC, ramp));
  EXPECT_FALSE(DisplaysPort().SetRamp(Displays[2].DC, HalfRamp()));
  EXPECT_FALSE(DisplaysPort().SetRamp(Displays[2].DC, HalfRamp()));
  EXPECT_EQ(DisplaysPort().RampRefusal(Displays[2].DC),
            "this display takes no gamma ramp (a virtual or remote monitor)");
  EXPECT_EQ(DisplaysPort().RampRefusal(Displays[0].DC), "");
  EXPECT_THAT(mutter_->Calls(), ElementsAre("GetCurrentState", "GetResources"));
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutColorManager, GnomeDisplaysEitherWay, testing::Bool());

TEST_F(GnomeDisplays, LiveRampsGoThroughACalibrationSessionThatMutterEndsWhenTheProcessLeaves) {
  Open(true);
  const std::vector<uint16_t> before = mutter_->Lut(1);
  ASSERT_TRUE(DisplaysPort().SetRamp(Displays[1].DC, HalfRamp()));
  ASSERT_TRUE(DisplaysPort().SetRamp(Displays[1].DC, HalfRamp()));
  EXPECT_EQ(mutter_->Lut(1)[255], 32640);
  EXPECT_TRUE(displays_->GivesRampsBackAtExit());
  ReleaseDisplays();
  displays_.reset();
  ASSERT_TRUE(mutter_->WaitForSessions(0, 10));
  EXPECT_EQ(mutter_->Lut(1), before);
  EXPECT_THAT(mutter_->Calls(), ElementsAre("GetCurrentState", "GetResources", "CalibrateMonitor DP-1",
                                            "SetCrtcGammaLut DP-1 256",
                                            "SetCrtcGammaLut DP-1 256", "Ended DP-1"));
}

TEST_F(GnomeDisplays, RampsThatMustOutlastTheProcessSkipTheCalibrationSession) {
  Open(true);
  displays_->KeepRampsAfterExit();
  EXPECT_FALSE(displays_->GivesRampsBackAtExit());
  ASSERT_TRUE(DisplaysPort().SetRamp(Displays[1].DC, HalfRamp()));
  ReleaseDisplays();
  displays_.reset();
  EXPECT_EQ(mutter_->Lut(1)[255], 32640);
  EXPECT_THAT(mutter_->Calls(), ElementsAre("GetCurrentState", "GetResources", "GetCrtcGamma 1 1",
                                            "SetCrtcGamma 1 1 256"));
}

}  // namespace

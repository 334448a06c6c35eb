// The wlroots back-end against the tests' stand-in compositor: outputs,
// tables at each output's own size, refusals with their reasons, the
// compositor's own tables back when a client lets go, two clients under
// either owner rule, and outputs that come and go.
#include "platform/wayland/wlr_displays.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ramp/display_discovery.h"
#include "ramp/load_curves.h"
#include "tests/platform/wayland/stand_in_compositor.h"
#include "tests/ramp/edid_blocks.h"
#include "tests/temp_folder.h"

namespace {

class WlrDisplays : public testing::Test {
 protected:
  void Start(const std::string& outputs, TGammaControl rule = TGammaControl::RefuseSecond) {
    compositor_ = std::make_unique<StandInCompositor>(session_.Socket, StandInOutputsOf(outputs), rule);
  }
  void TearDown() override { ReleaseDisplays(); }

  TPrivateWaylandSession session_;
  TempFolder drm_;
  std::unique_ptr<StandInCompositor> compositor_;
};

TGammaRamp HalfRamp() {
  TGammaRamp ramp{};
  for (int i = 0; i < 3 * LevelCount; ++i) ramp[i] = static_cast<uint16_t>((i % LevelCount) * 128);
  return ramp;
}

TEST_F(WlrDisplays, ListOutputsWithEdidAndSetRampsAtEachOutputsTableSize) {
  TEdid edid{};
  PutModelAbc1234(edid);
  PutTextDescriptor(edid, 0, 0xFC, "Model X\n");
  std::filesystem::create_directories(drm_.Path() / "card1-HDMI-A-1");
  WriteBytes(drm_.File("card1-HDMI-A-1/edid"), EdidBytes(edid));
  Start("DP-1:1024,HDMI-A-1:256");
  TWlrDisplays displays(drm_.Path().string());
  ASSERT_TRUE(displays.CompositorOffersGammaControl());
  SetDisplaysPort(displays);
  EnumerateDisplays();

  ASSERT_EQ(DisplayCount, 2);
  EXPECT_EQ(Displays[0].MonitorInfo.DeviceName, "DP-1");
  EXPECT_EQ(Displays[0].Name, "1: Maker Model (DP-1)");
  EXPECT_EQ(Displays[1].MonitorInfo.Monitor, (TRect{1920, 0, 3840, 1080}));
  EXPECT_EQ(Displays[1].Name, "2: Model X");
  EXPECT_EQ(displays.RampSize(Displays[0].DC), 1024);

  ASSERT_TRUE(displays.SetRamp(Displays[0].DC, HalfRamp()));
  const std::vector<uint16_t> shown = compositor_->Shown("DP-1").back();
  ASSERT_EQ(shown.size(), 3072u);
  EXPECT_EQ(shown[0], 0);
  EXPECT_EQ(shown[1023], 32640);
  EXPECT_EQ(shown[2048 + 1023], 32640);
  TGammaRamp back{};
  ASSERT_TRUE(displays.GetRamp(Displays[0].DC, back));
  EXPECT_EQ(back[255], 32640);
  EXPECT_EQ(back[128], 16384);
}

TEST_F(WlrDisplays, UntilATableIsSetTheOutputIsTakenToShowTheIdentity) {
  Start("DP-1:4096");
  TWlrDisplays displays(drm_.Path().string());
  SetDisplaysPort(displays);
  EnumerateDisplays();
  TGammaRamp ramp{};
  ASSERT_TRUE(displays.GetRamp(Displays[0].DC, ramp));
  EXPECT_EQ(ramp[255], 65535);
  EXPECT_EQ(ramp[1], 257);
  EXPECT_TRUE(compositor_->Shown("DP-1").empty());
}

TEST_F(WlrDisplays, LoadModeLoadsTheOutputsThatTakeATableAndNamesTheRefusingOne) {
  Start("DP-1:256,HEADLESS-1:0");
  TWlrDisplays displays(drm_.Path().string());
  SetDisplaysPort(displays);
  EnumerateDisplays();
  TLoadReport report;
  EXPECT_FALSE(LoadLinearRamps(report));
  ASSERT_EQ(report.Refused.size(), 1u);
  EXPECT_EQ(report.Refused[0].first, 1);
  EXPECT_EQ(report.Refused[0].second,
            "the compositor refuses gamma control of this output (another program holds it, or the output has no "
            "gamma table)");
  EXPECT_TRUE(report.NotKept.empty());
  EXPECT_EQ(compositor_->Shown("DP-1").back()[255], 65280);
}

TEST_F(WlrDisplays, TheCompositorsOwnTableComesBackWhenTheClientEnds) {
  Start("DP-1:256");
  {
    TWlrDisplays displays(drm_.Path().string());
    SetDisplaysPort(displays);
    EnumerateDisplays();
    ASSERT_TRUE(displays.SetRamp(Displays[0].DC, HalfRamp()));
    EXPECT_TRUE(compositor_->Held("DP-1"));
    ReleaseDisplays();
  }
  for (int i = 0; i < 100 && compositor_->Held("DP-1"); ++i) usleep(10000);
  const TShownTables shown = compositor_->Shown("DP-1");
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_TRUE(shown[1].empty());
}

TEST_F(WlrDisplays, ASecondClientIsRefusedOrTakesTheOutputAsTheCompositorsRuleHas) {
  for (TGammaControl rule : {TGammaControl::RefuseSecond, TGammaControl::HandOver}) {
    Start("DP-1:256", rule);
    TWlrDisplays first(drm_.Path().string()), second(drm_.Path().string());
    SetDisplaysPort(first);
    EnumerateDisplays();
    const TDisplayHandle firstOutput = Displays[0].DC;
    ASSERT_TRUE(first.SetRamp(firstOutput, HalfRamp()));
    SetDisplaysPort(second);
    EnumerateDisplays();
    const bool secondTookIt = second.SetRamp(Displays[0].DC, HalfRamp());
    EXPECT_EQ(secondTookIt, rule == TGammaControl::HandOver);
    if (rule == TGammaControl::HandOver) {
      EXPECT_FALSE(first.SetRamp(firstOutput, HalfRamp()));
      EXPECT_EQ(first.RampRefusal(firstOutput), "another program took over this output's gamma control");
    } else {
      EXPECT_NE(second.RampRefusal(Displays[0].DC), "");
      EXPECT_EQ(first.RampRefusal(firstOutput), "");
    }
    ReleaseDisplays();
    compositor_.reset();
  }
}

TEST_F(WlrDisplays, OutputsComeAndGoAndAFailedControlRefusesWithTheReason) {
  Start("DP-1:256,DP-2:256");
  TWlrDisplays displays(drm_.Path().string());
  SetDisplaysPort(displays);
  EnumerateDisplays();
  const TDisplayHandle second = Displays[1].DC;
  ASSERT_TRUE(displays.SetRamp(Displays[0].DC, HalfRamp()));
  compositor_->SendFailed("DP-1");
  EXPECT_FALSE(displays.SetRamp(Displays[0].DC, HalfRamp()));
  EXPECT_EQ(displays.RampRefusal(Displays[0].DC), "another program took over this output's gamma control");

  compositor_->RemoveOutput("DP-2");
  EXPECT_FALSE(displays.SetRamp(second, HalfRamp()));
  compositor_->AddOutput({"HDMI-A-1", "Newcomer", 3840, 1920, 1080, 512});
  EnumerateDisplays();
  ASSERT_EQ(DisplayCount, 2);
  EXPECT_EQ(Displays[1].MonitorInfo.DeviceName, "HDMI-A-1");
  EXPECT_EQ(displays.RampSize(Displays[1].DC), 512);
}

TEST_F(WlrDisplays, UnderHyprlandARefusalSaysWhetherItsMonitorRuleLoadsAProfile) {
  std::filesystem::create_directories(drm_.Path() / "config/hypr");
  WriteBytes(drm_.File("config/hypr/hyprland.conf"),
             "monitor = DP-1, preferred, auto, 1\n"
             "monitorv2 {\n  output = HDMI-A-1\n  icc = /home/me/Tonemark2.icc  # calibrated\n}\n");
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string configBefore = config != nullptr ? config : "";
  setenv("XDG_CONFIG_HOME", drm_.File("config").c_str(), 1);
  setenv("HYPRLAND_INSTANCE_SIGNATURE", "test", 1);
  Start("DP-1:0,HDMI-A-1:0");
  TWlrDisplays displays(drm_.Path().string());
  SetDisplaysPort(displays);
  EnumerateDisplays();
  EXPECT_EQ(displays.RampRefusal(Displays[0].DC),
            "Hyprland refuses gamma control of this output, as it does where its monitor rule loads a colour profile "
            "(icc), or where another program holds the control");
  EXPECT_EQ(displays.RampRefusal(Displays[1].DC),
            "Hyprland loads this output's colour profile itself (icc in its monitor rule), and so lets no program set "
            "its gamma; the profile's calibration is what it shows");
  unsetenv("HYPRLAND_INSTANCE_SIGNATURE");
  EXPECT_EQ(displays.RampRefusal(Displays[1].DC),
            "the compositor refuses gamma control of this output (another program holds it, or the output has no "
            "gamma table)");
  if (configBefore.empty()) unsetenv("XDG_CONFIG_HOME");
  else setenv("XDG_CONFIG_HOME", configBefore.c_str(), 1);
}

}  // namespace

// The KDE keeper's report after OK when KWin's output management is too old
// to assign profiles, OK where a newer KWin lists its output devices through
// their registry, OK, load mode and the notice where an output takes no
// profile, and OK and Cancel after an output was unplugged; the rest runs end to end in kde_keep.sh,
// whose OK shows its messages in the window's boxes.
#include "platform/wayland/kde_keeper.h"

#include <gtest/gtest.h>

#include "platform/wayland/kde_displays.h"
#include "ramp/curve_file.h"
#include "ramp/display_discovery.h"
#include "tests/platform/wayland/language_texts.h"
#include "tests/platform/wayland/stand_in_compositor.h"
#include "tests/temp_folder.h"

namespace {

TEST(KdeKeeper, OkOnACompositorBeforePlasma6WritesTheProfileAndNamesTheReasonForEachDisplay) {
  TPrivateWaylandSession session;
  StandInCompositor plasma5(session.Socket, StandInOutputsOf("DP-1"), TGammaControl::None, 5);
  TempFolder drm, data;
  TKdeDisplays displays(drm.Path().string());
  SetDisplaysPort(displays);
  EnumerateDisplays();
  WriteBytes(data.File("Tonemark1.lut"), CurveFileText(TRampCurve{}, "DP-1"));
  TKdeKeeper keeper([](const TRampCurve&, const TDisplay&) { return std::string("profile"); });

  EXPECT_EQ(keeper.HandOverStoredCurves(data.Folder()),
            "Display 1 (Maker Model (DP-1)): the compositor's KDE output management is version 5, and colour "
            "profiles are assigned from version 6 (Plasma 6) on. KWin will not keep its calibration.");
  EXPECT_EQ(ReadBytes(data.File("Tonemark1.icc")), "profile");
  EXPECT_EQ(plasma5.Applies(), std::vector<std::string>{});
  ReleaseDisplays();
}

TEST(KdeKeeper, OkAssignsTheProfilesWhereKWinListsItsOutputDevicesThroughTheirRegistry) {
  TPrivateWaylandSession session;
  StandInCompositor registryKWin(session.Socket,
                                 {{"DP-1", "Maker Model (DP-1)", 0, 1920, 1080}, {"DP-2", "Other", 1920, 1920, 1080}},
                                 TGammaControl::None, 21);
  TempFolder drm, data;
  TKdeDisplays displays(drm.Path().string());
  SetDisplaysPort(displays);
  EnumerateDisplays();
  WriteBytes(data.File("Tonemark2.lut"), CurveFileText(TRampCurve{}, "DP-2"));
  TKdeKeeper keeper([](const TRampCurve&, const TDisplay&) { return std::string("profile"); });

  EXPECT_EQ(keeper.HandOverStoredCurves(data.Folder()), "");
  EXPECT_EQ(registryKWin.Profiles(), (std::vector<TKdeProfileState>{{"", 0}, {data.File("Tonemark2.icc"), 1}}));
  ReleaseDisplays();
}

// As KWin's virtual output: no ICC capability, and "applied" to a profile
// that it then does not hold.
TEST(KdeKeeper, AnOutputThatTakesNoProfileIsNamedAndLeftOutWhileTheOtherIsAssigned) {
  TPrivateWaylandSession session;
  std::vector<TStandInOutput> outputs = StandInOutputsOf("Virtual-0,DP-1");
  outputs[0].IccCapability = false;
  StandInCompositor kwin(session.Socket, outputs, TGammaControl::None, 14);
  TempFolder drm, data;
  TKdeDisplays displays(drm.Path().string());
  SetDisplaysPort(displays);
  EnumerateDisplays();
  for (const char* name : {"Tonemark1.lut", "Tonemark2.lut"}) WriteBytes(data.File(name), CurveFileText({}, ""));
  TKdeKeeper keeper([](const TRampCurve&, const TDisplay&) { return std::string("profile"); });

  EXPECT_EQ(displays.RampRefusal(Displays[0].DC), "KWin takes no colour profile on this output");
  EXPECT_EQ(keeper.HandOverStoredCurves(data.Folder()),
            "Display 1 (Maker Model (Virtual-0)): KWin takes no colour profile on this output. KWin will not keep "
            "its calibration.");
  EXPECT_EQ(kwin.Applies(), std::vector<std::string>{"apply DP-1=" + data.File("Tonemark2.icc") + ":1"});
  TLoadReport report;
  keeper.EnsureStoredCurves(data.Folder(), report);
  EXPECT_EQ(report.Refused, (std::vector<std::pair<int32_t, std::string>>{
                                {0, "KWin takes no colour profile on this output"}}));
  ReleaseDisplays();
}

// The reason reads in the user's language, as the sentence around it does.
TEST(KdeKeeper, AnOutputThatTakesNoProfileIsNamedInTheUsersLanguage) {
  TPrivateWaylandSession session;
  std::vector<TStandInOutput> outputs = StandInOutputsOf("Virtual-0");
  outputs[0].IccCapability = false;
  StandInCompositor kwin(session.Socket, outputs, TGammaControl::None, 14);
  TempFolder drm, data;
  TKdeDisplays displays(drm.Path().string());
  SetDisplaysPort(displays);
  EnumerateDisplays();
  WriteBytes(data.File("Tonemark1.lut"), CurveFileText({}, ""));
  TKdeKeeper keeper([](const TRampCurve&, const TDisplay&) { return std::string("profile"); });
  UseLanguageTexts("German");
  TLoadReport report;
  keeper.EnsureStoredCurves(data.Folder(), report);
  UseLanguageTexts("English");
  EXPECT_EQ(report.Refused, (std::vector<std::pair<int32_t, std::string>>{
                                {0, "KWin nimmt f\xfcr diesen Ausgang kein Farbprofil an"}}));
  ReleaseDisplays();
}

// Two displays whose output HDMI-A-1 is unplugged during the session.
class KdeKeeperUnplugged : public ::testing::Test {
 protected:
  KdeKeeperUnplugged() {
    SetDisplaysPort(displays);
    EnumerateDisplays();
    for (const char* name : {"Tonemark1.lut", "Tonemark2.lut"}) WriteBytes(data.File(name), CurveFileText({}, ""));
  }
  ~KdeKeeperUnplugged() override { ReleaseDisplays(); }

  TPrivateWaylandSession session;
  TempFolder drm, data;
  StandInCompositor kwin{session.Socket, StandInOutputsOf("DP-1,HDMI-A-1"), TGammaControl::None, 14};
  TKdeDisplays displays{drm.Path().string()};
  TKdeKeeper keeper{[](const TRampCurve&, const TDisplay&) { return std::string("profile"); }};
};

TEST_F(KdeKeeperUnplugged, OkAssignsTheOutputsKWinStillHasAndNamesTheOneThatWent) {
  kwin.RemoveOutput("HDMI-A-1");
  EXPECT_EQ(keeper.HandOverStoredCurves(data.Folder()),
            "Display 2 (Maker Model (HDMI-A-1)): the output is no longer there. KWin will not keep its calibration.");
  EXPECT_EQ(kwin.Profiles(), (std::vector<TKdeProfileState>{{data.File("Tonemark1.icc"), 1}}));
}

TEST_F(KdeKeeperUnplugged, CancelPutsBackWhatKWinStillHasAndNamesTheOneThatWent) {
  ASSERT_EQ(keeper.HandOverStoredCurves(data.Folder()), "");
  ASSERT_EQ(keeper.SetAsideForSession(data.Folder()), "");
  kwin.RemoveOutput("HDMI-A-1");
  EXPECT_EQ(keeper.PutBackAfterSession(),
            "Display 2 (Maker Model (HDMI-A-1)): the output is no longer there. KWin did not get back the "
            "calibration stored before; tonemark /load assigns it again.");
  EXPECT_EQ(kwin.Profiles(), (std::vector<TKdeProfileState>{{data.File("Tonemark1.icc"), 1}}));
}

}  // namespace

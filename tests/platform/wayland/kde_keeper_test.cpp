// The KDE keeper's report after OK when KWin's output management is too old
// to assign profiles, and OK where a newer KWin lists its output devices
// through their registry; the rest runs end to end in kde_keep.sh,
// whose OK shows its messages in the window's boxes.
#include "platform/wayland/kde_keeper.h"

#include <gtest/gtest.h>

#include "platform/wayland/kde_displays.h"
#include "ramp/curve_file.h"
#include "ramp/display_discovery.h"
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

}  // namespace

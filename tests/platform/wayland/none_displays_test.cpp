// The "none" back-end against the tests' stand-in compositor, which announces
// two outputs the way compositors do (wl_output version 4).
#include "platform/wayland/none_displays.h"
#include "platform/wayland/wlr_displays.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "ramp/display_discovery.h"
#include "ramp/load_curves.h"
#include "tests/platform/wayland/stand_in_compositor.h"
#include "tests/ramp/edid_blocks.h"
#include "tests/temp_folder.h"

namespace {

TEST(NoRampDisplays, AreTheCompositorsOutputsEachRefusingWithTheReason) {
  TempFolder drm;
  TEdid edid{};
  PutModelAbc1234(edid);
  PutTextDescriptor(edid, 0, 0xFC, "Model X\n");
  std::filesystem::create_directories(drm.Path() / "card0-HDMI-A-1");
  WriteBytes(drm.File("card0-HDMI-A-1/edid"), EdidBytes(edid));
  TPrivateWaylandSession session;
  StandInCompositor compositor(session.Socket,
                               {{"DP-1", "Maker Model (DP-1)", 0, 2560, 1440}, {"HDMI-A-1", "Other", 2560, 1920, 1080}},
                               TGammaControl::None);
  TNoRampDisplays displays(drm.Path().string());
  SetDisplaysPort(displays);
  EnumerateDisplays();

  ASSERT_EQ(DisplayCount, 2);
  EXPECT_EQ(Displays[0].MonitorInfo.DeviceName, "DP-1");
  EXPECT_EQ(Displays[0].MonitorInfo.Monitor, (TRect{0, 0, 2560, 1440}));
  EXPECT_EQ(Displays[0].Name, "1: Maker Model (DP-1)");
  EXPECT_EQ(Displays[1].MonitorInfo.Monitor, (TRect{2560, 0, 4480, 1080}));
  EXPECT_EQ(Displays[1].Name, "2: Model X");

  TLoadReport report;
  EXPECT_FALSE(LoadLinearRamps(report));
  ASSERT_EQ(report.Refused.size(), 2u);
  EXPECT_EQ(report.Refused[1].first, 1);
  EXPECT_EQ(report.Refused[1].second, "this desktop does not let programs set its gamma ramp");
  EXPECT_TRUE(report.NotKept.empty());
  ReleaseDisplays();
}

// KWin's virtual output has no make, model or description.
TEST(NoRampDisplays, AnOutputWithoutADescriptionIsNamedByItsConnector) {
  TPrivateWaylandSession session;
  StandInCompositor compositor(session.Socket, {{"Virtual-0", "", 0, 1280, 720}}, TGammaControl::None);
  TempFolder drm;
  TNoRampDisplays displays(drm.Path().string());
  SetDisplaysPort(displays);
  EnumerateDisplays();
  ASSERT_EQ(DisplayCount, 1);
  EXPECT_EQ(Displays[0].Name, "1: Virtual-0");
  ReleaseDisplays();
}

// Below wl_output version 4, and without xdg-output, an output has no name:
// it goes by its Wayland global (the gamma manager is the first), as on the
// wlroots back-end, whose loader knows it by that name too.
TEST(NoRampDisplays, AnOutputWithoutANameGoesByItsGlobalAsOnTheWlrootsBackEnd) {
  TPrivateWaylandSession session;
  TStandInOutput unnamed{"DP-1", "", 0, 1920, 1080};
  unnamed.OutputVersion = 3;
  StandInCompositor compositor(session.Socket, {unnamed, {"HDMI-A-1", "Other", 1920, 1920, 1080}},
                               TGammaControl::RefuseSecond);
  TempFolder drm;
  TNoRampDisplays none(drm.Path().string());
  TWlrDisplays wlr(drm.Path().string());
  for (TDisplaysPort* displays : std::initializer_list<TDisplaysPort*>{&none, &wlr}) {
    SetDisplaysPort(*displays);
    EnumerateDisplays();
    ASSERT_EQ(DisplayCount, 2);
    EXPECT_EQ(Displays[0].MonitorInfo.DeviceName, "WL-2");
    EXPECT_EQ(Displays[1].MonitorInfo.DeviceName, "HDMI-A-1");
    ReleaseDisplays();
  }
}

}  // namespace

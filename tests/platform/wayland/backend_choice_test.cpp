// Which display back-end a Linux program takes, as the session describes itself.
#include "platform/wayland/display_backends.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <stdexcept>

#include "platform/sim/sim_displays.h"
#include "platform/wayland/gnome_displays.h"
#include "platform/wayland/kde_displays.h"
#include "platform/wayland/none_displays.h"
#include "platform/wayland/wlr_displays.h"
#include "tests/platform/wayland/mutter_stand_in.h"
#include "tests/platform/wayland/stand_in_compositor.h"
#include "tests/temp_folder.h"

namespace {

// Stands in for X11 RandR, which needs no X server to be told apart.
class TX11Marker : public TNoRampDisplays {};

class BackendChoice : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* variable : {"TONEMARK_SIM", "TONEMARK_BACKEND", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
      unsetenv(variable);
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + nowhere_.File("bus")).c_str(), 1);
  }
  std::unique_ptr<TDisplaysPort> Choose() {
    return ChooseDisplays(LinuxDisplayBackends([] { return std::make_unique<TX11Marker>(); }),
                          std::getenv("TONEMARK_BACKEND"));
  }
  TempFolder nowhere_;
};

TEST(WaylandSession, IsNamedByItsDisplayOrItsSessionType) {
  EXPECT_TRUE(IsWaylandSession("wayland-0", nullptr));
  EXPECT_TRUE(IsWaylandSession(nullptr, "wayland"));
  EXPECT_FALSE(IsWaylandSession("", "x11"));
  EXPECT_FALSE(IsWaylandSession(nullptr, nullptr));
}

TEST_F(BackendChoice, X11OutsideAWaylandSession) {
  setenv("XDG_SESSION_TYPE", "x11", 1);
  EXPECT_NE(dynamic_cast<TX11Marker*>(Choose().get()), nullptr);
}

TEST_F(BackendChoice, GnomeWhereMutterAnswersElseNoneButNeverX11InAWaylandSession) {
  setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  std::unique_ptr<TDisplaysPort> chosen = Choose();
  EXPECT_NE(dynamic_cast<TNoRampDisplays*>(chosen.get()), nullptr);
  EXPECT_EQ(dynamic_cast<TX11Marker*>(chosen.get()), nullptr);

  TStandInMonitor monitor;
  monitor.Connector = "DP-1";
  MutterStandIn mutter({monitor}, false);
  ASSERT_TRUE(mutter.IsUp());
  setenv("DBUS_SESSION_BUS_ADDRESS", mutter.Address().c_str(), 1);
  EXPECT_NE(dynamic_cast<TGnomeDisplays*>(Choose().get()), nullptr);
}

TEST_F(BackendChoice, WlrWhereTheCompositorOffersGammaControlAndMutterDoesNotAnswer) {
  TPrivateWaylandSession session;
  StandInCompositor compositor(session.Socket, StandInOutputsOf("DP-1:256"), TGammaControl::RefuseSecond);
  EXPECT_NE(dynamic_cast<TWlrDisplays*>(Choose().get()), nullptr);
}

// Version 6 of KWin's output management is the first that assigns profiles.
TEST_F(BackendChoice, KdeWhereKWinsOutputManagementAssignsProfilesElseNone) {
  TPrivateWaylandSession session;
  const std::vector<TStandInOutput> outputs = {{"DP-1", "Monitor", 0, 1920, 1080}};
  {
    StandInCompositor plasma6(session.Socket, outputs, TGammaControl::None, 6);
    EXPECT_NE(dynamic_cast<TKdeDisplays*>(Choose().get()), nullptr);
  }
  StandInCompositor plasma5(session.Socket, outputs, TGammaControl::None, 5);
  EXPECT_EQ(BackendLabel(*Choose()), NoneBackendLabel);
  setenv("TONEMARK_BACKEND", "kde", 1);
  EXPECT_NE(dynamic_cast<TKdeDisplays*>(Choose().get()), nullptr);
}

TEST_F(BackendChoice, TheNamedOneWhenForcedAndTheSimulatedDisplaysWheneverSet) {
  setenv("WAYLAND_DISPLAY", "wayland-0", 1);
  setenv("TONEMARK_BACKEND", "x11", 1);
  EXPECT_NE(dynamic_cast<TX11Marker*>(Choose().get()), nullptr);
  setenv("TONEMARK_BACKEND", "gnome", 1);
  EXPECT_NE(dynamic_cast<TGnomeDisplays*>(Choose().get()), nullptr);
  TempFolder sim;
  setenv("TONEMARK_SIM", sim.Folder().c_str(), 1);
  EXPECT_NE(dynamic_cast<TSimDisplays*>(Choose().get()), nullptr);
}

TEST_F(BackendChoice, AnUnknownNameIsAnErrorListingTheKnownOnes) {
  setenv("TONEMARK_BACKEND", "wlroots", 1);
  try {
    Choose();
    FAIL() << "no error";
  } catch (const std::invalid_argument& error) {
    EXPECT_STREQ(error.what(),
                 "TONEMARK_BACKEND=wlroots names no display back-end. The known ones are: sim, gnome, wlr, kde, none, x11.");
  }
}

}  // namespace

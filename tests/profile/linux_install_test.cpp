#include <gtest/gtest.h>

#include <sstream>

#include "platform/linux/profile_install.h"
#include "tests/platform/linux_shell/xdg_environment.h"
#include "tests/profile/colord_stand_in.h"

namespace {

// A written profile in a folder of its own, a display on output DP-1, and
// the user's folders in a temporary home.
class LinuxInstallTest : public ::testing::Test {
 protected:
  LinuxInstallTest() {
    WriteBytes(written_.File("Tonemark1.icc"), bytes_);
    display_.MonitorInfo.DeviceName = "DP-1";
  }

  bool Install(const ColordStandIn& colord) {
    xdg_.Set("DBUS_SYSTEM_BUS_ADDRESS", colord.Address());
    report_.str("");
    return TLinuxProfileInstaller().Install(written_.File("Tonemark1.icc"), display_, report_);
  }
  std::string Placed() const { return xdg_.DataHome() + "/icc/Tonemark1.icc"; }

  XdgEnvironment xdg_;
  TempFolder written_;
  const std::string bytes_ = std::string("profile bytes\0\x01\xFF", 16);
  TDisplay display_;
  std::ostringstream report_;
};

TEST_F(LinuxInstallTest, PlacesTheProfileAndMakesItTheOutputsDefaultInColord) {
  ColordStandIn colord("DP-1");
  ASSERT_TRUE(colord.IsUp());
  ASSERT_TRUE(Install(colord)) << report_.str();
  EXPECT_EQ(ReadBytes(Placed()), bytes_);
  const std::string id = ColordProfileId(bytes_);
  EXPECT_EQ(colord.Calls(), (std::vector<std::string>{
                                "FindDeviceByProperty XRANDR_name DP-1",
                                "CreateProfileWithFd " + id + " disk Filename=" + Placed(),
                                "AddProfile hard " + std::string(ColordStandIn::ProfilePath),
                                "MakeProfileDefault " + std::string(ColordStandIn::ProfilePath),
                            }));
  EXPECT_EQ(colord.PassedBytes(), bytes_);
  EXPECT_EQ(report_.str(), "Placed the profile in " + Placed() +
                               ".\ncolord made it the default profile of output DP-1.\n");
}

TEST_F(LinuxInstallTest, WithoutColordTheProfileIsPlacedAndThatIsSaid) {
  ColordStandIn noColord("");
  ASSERT_TRUE(noColord.IsUp());
  EXPECT_TRUE(Install(noColord));
  EXPECT_EQ(ReadBytes(Placed()), bytes_);
  EXPECT_EQ(report_.str(), "Placed the profile in " + Placed() +
                               ".\ncolord is not running; choose the profile in the desktop's colour settings.\n");
}

TEST_F(LinuxInstallTest, AnOutputColordDoesNotKnowIsReportedAsAFailure) {
  ColordStandIn colord("HDMI-1");
  ASSERT_TRUE(colord.IsUp());
  EXPECT_FALSE(Install(colord));
  EXPECT_EQ(colord.Calls(), std::vector<std::string>{"FindDeviceByProperty XRANDR_name DP-1"});
  EXPECT_EQ(report_.str(), "Placed the profile in " + Placed() +
                               ".\ncolord knows no device for output DP-1: device not found\n");
}

}  // namespace

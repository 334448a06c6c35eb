#include <gtest/gtest.h>

#include "profile/display_profile.h"
#include "profile/profile_program.h"
#include "ramp/build_ramp.h"
#include "ramp/curve_file.h"
#include "tests/profile/profile_reading.h"
#include "tests/ramp/edid_blocks.h"
#include "tests/ramp/sim_displays_fixture.h"

namespace {

// Installing is the Linux installer's business; here it only counts.
class CountingInstaller : public TProfileInstaller {
 public:
  bool Install(const std::string& path, const TDisplay& display, std::ostream& report) override {
    installed.push_back(path + " " + display.MonitorInfo.DeviceName);
    report << "installed\n";
    return true;
  }
  std::vector<std::string> installed;
};

// Display 2 of two has an EDID named "Desk" with a wide gamut and a stored curve.
class ProfileProgramTest : public SimDisplaysTest {
 protected:
  ProfileProgramTest() {
    TEdid edid{};
    std::copy_n("\x00\xFF\xFF\xFF\xFF\xFF\xFF\x00", 8, edid.begin());
    PutModelAbc1234(edid);
    PutTextDescriptor(edid, 1, 0xFC, "Desk\n");
    const uint8_t wide[] = {0x0B, 0x73, 0xAE, 0x4F, 0x35, 0xB5, 0x26, 0x0C, 0x50, 0x54};
    std::copy(std::begin(wide), std::end(wide), edid.begin() + 25);
    edid_ = edid;
    WriteFile("desk.edid", EdidBytes(edid));
    WriteDisplays("[Monitor1]\n[Monitor2]\nDeviceName=DP-2\nDeviceID=MONITOR\\ABC1234\\{x}\\0001\n"
                  "Edid=desk.edid\n");
    curve_.Standard = 9;
    curve_.GammaB = -35;
    curve_.PointSet[100] = true;
    curve_.Point[100] = 3000;
    WriteFile("Tonemark2.lut", CurveFileText(curve_, "DP-2"));
  }

  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), folder_.File("tonemark-profile"));
    out_.str(""), err_.str("");
    return ProfileProgram(args, installer_, out_, err_);
  }

  TEdid edid_{};
  TRampCurve curve_;
  CountingInstaller installer_;
  std::ostringstream out_, err_;
};

TEST_F(ProfileProgramTest, WritesADisplaysProfileBesideItsCurveFileAndInstallsIt) {
  ASSERT_EQ(Run({"--display", "2", "--install"}), 0) << err_.str();
  const std::string path = folder_.File("Tonemark2.icc");
  const std::string description = "Desk, Tonemark " + TodayText();
  EXPECT_EQ(out_.str(), "Wrote " + path + " (\"" + description +
                            "\"), primaries and white point from the EDID.\ninstalled\n");
  EXPECT_EQ(installer_.installed, std::vector<std::string>{path + " DP-2"});

  OpenedProfile profile = OpenProfile(ReadBytes(path));
  ASSERT_TRUE(profile);
  TGammaRamp expected{};
  TRampCurve curve = curve_;
  BuildRamp(curve, expected);
  EXPECT_EQ(VcgtThroughLcms(profile.get()), expected);
  EXPECT_EQ(TextTag(profile.get(), cmsSigProfileDescriptionTag), description);
  EXPECT_NEAR(ProfileColoursOf(profile.get()).Green.Y, EdidColours(edid_).Green.Y, 1e-4);
}

TEST_F(ProfileProgramTest, FilesGiveTheRecordAndTheColours) {
  WriteFile("plain.edid", std::string("\x00\xFF\xFF\xFF\xFF\xFF\xFF\x00", 8) + std::string(120, '\0'));
  const std::string out = folder_.File("given.icc");
  EXPECT_EQ(Run({"--curve", folder_.File("Tonemark2.lut"), "--edid", folder_.File("plain.edid"), "--out", out}), 0);
  EXPECT_EQ(out_.str(), "Wrote " + out + " (\"Tonemark " + TodayText() +
                            "\"), sRGB primaries and white point (the EDID holds no plausible ones).\n");
  EXPECT_EQ(Run({"--curve", folder_.File("Tonemark2.lut"), "--out", out}), 0);
  EXPECT_NE(out_.str().find("sRGB primaries and white point (no EDID)"), std::string::npos);
  EXPECT_TRUE(installer_.installed.empty());
}

TEST_F(ProfileProgramTest, FailuresSayWhatWentWrongExitOneAndWriteNothing) {
  WriteFile("bad.lut", "RampCurve v.2\r\nDP-2\r\n1\r\nabc\r\n");
  const std::string out = folder_.File("p.icc");
  const std::string lut = folder_.File("Tonemark2.lut");
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--display", "3"}, "There is no display 3: Tonemark finds 2 on this desktop."},
      {{"--display", "1"}, "No calibration is stored for display 1: " + folder_.File("Tonemark1.lut") +
                               " does not exist. Calibrate the display with Tonemark first."},
      {{"--curve", folder_.File("bad.lut"), "--out", out}, folder_.File("bad.lut") + ": Invalid numeric input"},
      {{"--curve", folder_.File("none.lut"), "--out", out}, folder_.File("none.lut") + ": the curve file does not exist."},
      {{"--curve", lut, "--edid", lut, "--out", out},
       lut + ": not an EDID (it must start with a 128-byte base block)."},
      {{"--curve", lut, "--out", folder_.File("no/p.icc")}, "Unable to write to " + folder_.File("no/p.icc")},
  };
  for (const auto& [args, message] : cases) {
    EXPECT_EQ(Run(args), 1) << message;
    EXPECT_EQ(err_.str(), "tonemark-profile: " + message + "\n");
    EXPECT_EQ(out_.str(), "");
  }
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_TRUE(installer_.installed.empty());
}

TEST_F(ProfileProgramTest, ArgumentsOutsideTheUsageExitTwo) {
  const std::vector<std::string> cases[] = {
      {}, {"--display", "0"}, {"--display", "2x"}, {"--display"}, {"--display", "1", "--curve", "a.lut"},
      {"--curve", "a.lut"}, {"--curve", "a.lut", "--out", "p.icc", "--install"},
      {"--display", "1", "--edid", "e.bin"}, {"--display", "1", "--colour"},
  };
  for (const auto& args : cases) {
    EXPECT_EQ(Run(args), 2) << ::testing::PrintToString(args);
    EXPECT_NE(err_.str().find(ProfileUsage), std::string::npos);
  }
}

}  // namespace

// The keeper of the "none" back-end: OK writes each display's profile beside
// its curve file and says where; load mode names them.
#include "platform/wayland/none_keeper.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "lang/multilang.h"
#include "platform/sim/sim_displays.h"
#include "platform/wayland/display_backends.h"
#include "platform/wayland/none_displays.h"
#include "ramp/curve_file.h"
#include "ramp/display_discovery.h"
#include "ramp/no_displays.h"
#include "tests/platform/wayland/language_texts.h"
#include "tests/temp_folder.h"

namespace {

class NoneKeeper : public ::testing::Test {
 protected:
  NoneKeeper() {
    WriteBytes(sim.File("displays.ini"), "[Monitor1]\n[Monitor2]\nRect=1920,0,3840,1080\n");
    SetDisplaysPort(displays);
    EnumerateDisplays();
    SetText("MProfilesForSettings", "Profiles in %s.");
    SetText("MProfileForSettings", "see %s");
    folder = data.Folder();
  }
  ~NoneKeeper() override {
    ReleaseDisplays();
    SetDisplaysPort(noDisplays);
    UseLanguageTexts("English");
  }
  void StoreCurve(int32_t index, int32_t gamma) {
    TRampCurve curve;
    curve.Gamma = gamma;
    WriteBytes(CurveFilePath(folder, index), CurveFileText(curve, Displays[index].MonitorInfo.DeviceName));
  }

  TempFolder sim, data;
  std::string folder;
  TSimDisplays displays{sim.Path(), false};
  TNoDisplays noDisplays;
  // The profile of a curve: its Gamma and the display's number, as text.
  TNoneKeeper keeper{[](const TRampCurve& curve, const TDisplay& display) {
    return "gamma " + std::to_string(curve.Gamma) + " for " + display.Name;
  }};
};

TEST_F(NoneKeeper, OkWritesEachDisplaysProfileBesideItsCurveAndSaysWhere) {
  StoreCurve(0, 5);
  StoreCurve(1, -7);
  EXPECT_EQ(keeper.HandOverStoredCurves(folder), "Profiles in " + folder + ".");
  EXPECT_EQ(ReadBytes(folder + "Tonemark1.icc"), "gamma 5 for 1: Generic PnP Monitor");
  EXPECT_EQ(ReadBytes(folder + "Tonemark2.icc"), "gamma -7 for 2: Generic PnP Monitor");
}

TEST_F(NoneKeeper, LoadModeNamesEveryDisplaysProfile) {
  StoreCurve(0, 5);
  StoreCurve(1, -7);
  keeper.HandOverStoredCurves(folder);
  TLoadReport report;
  EXPECT_TRUE(keeper.EnsureStoredCurves(folder, report));
  ASSERT_EQ(report.Refused.size(), 2u);
  EXPECT_EQ(report.Refused[1].first, 1);
  EXPECT_EQ(report.Refused[1].second,
            "this desktop does not let programs set its gamma ramp; see " + folder + "Tonemark2.icc");
}

// Curves stored before there were profiles get them; a display without a
// curve is reported as the loader reports it.
TEST_F(NoneKeeper, LoadModeWritesMissingProfilesButWithoutEveryCurveReportsAsTheLoaderDoes) {
  StoreCurve(0, 5);
  TLoadReport report;
  EXPECT_FALSE(keeper.EnsureStoredCurves(folder, report));
  EXPECT_TRUE(report.Refused.empty());
  EXPECT_FALSE(std::filesystem::exists(folder + "Tonemark1.icc"));

  StoreCurve(1, -7);
  EXPECT_TRUE(keeper.EnsureStoredCurves(folder, report));
  EXPECT_EQ(ReadBytes(folder + "Tonemark2.icc"), "gamma -7 for 2: Generic PnP Monitor");
  ASSERT_EQ(report.Refused.size(), 2u);
  EXPECT_EQ(report.Refused[1].second,
            "this desktop does not let programs set its gamma ramp; see " + folder + "Tonemark2.icc");

  TNoneKeeper withoutMaker{{}};
  std::filesystem::remove(folder + "Tonemark1.icc");
  report = {};
  EXPECT_TRUE(withoutMaker.EnsureStoredCurves(folder, report));
  ASSERT_EQ(report.Refused.size(), 2u);
  EXPECT_EQ(report.Refused[0].second, "this desktop does not let programs set its gamma ramp; " + folder +
                                          "Tonemark1.icc could not be written: this program writes no colour profiles");
}

TEST(NoneBackend, KeepsTheCalibrationWithItsKeeper) {
  TNoRampDisplays none;
  EXPECT_NE(dynamic_cast<TNoneKeeper*>(DesktopCalibrationKeeper(none, {}).get()), nullptr);
}

}  // namespace

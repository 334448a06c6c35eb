#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/sim/sim_ramp_file.h"
#include "ramp/build_ramp.h"
#include "ramp/curve_file.h"
#include "ramp/file_error.h"
#include "ramp/load_curves.h"
#include "ramp/ramp_resample.h"
#include "tests/ramp/sim_displays_fixture.h"

namespace {

const TGammaRamp Identity = RampOf([](int level) { return level * 257; });
const TGammaRamp Linear = RampOf([](int level) { return level * 256; });
const TGammaRamp Black = RampOf([](int) { return 0; });

TEST(StepToward, HalvesTheGapAtMost512AtATime) {
  uint16_t entry = 0;
  EXPECT_TRUE(StepToward(entry, 65535));
  EXPECT_EQ(entry, 512);
  entry = 65535;
  EXPECT_TRUE(StepToward(entry, 0));
  EXPECT_EQ(entry, 65023);
  entry = 1000;
  EXPECT_TRUE(StepToward(entry, 0));
  EXPECT_EQ(entry, 500);
}

TEST(StepToward, Closes513AtOnceAnd514InTwoMoves) {
  uint16_t entry = 0;
  EXPECT_FALSE(StepToward(entry, 513));
  EXPECT_EQ(entry, 513);
  entry = 0;
  EXPECT_TRUE(StepToward(entry, 514));
  EXPECT_EQ(entry, 257);
  EXPECT_FALSE(StepToward(entry, 514));
  EXPECT_EQ(entry, 514);
  EXPECT_FALSE(StepToward(entry, 514));
}

TEST(StepToward, AFullSwingCountsTheStepsOf127Passes) {
  uint16_t entry = 0;
  std::vector<int> seen;
  while (StepToward(entry, 65535)) seen.push_back(entry);
  ASSERT_EQ(seen.size(), 127u);
  EXPECT_EQ(seen[0], 512);
  EXPECT_EQ(seen[1], 1024);
  EXPECT_EQ(seen[123], 63488);
  EXPECT_EQ(seen[124], 64000);
  EXPECT_EQ(seen[125], 64512);
  EXPECT_EQ(seen[126], 65023);
  EXPECT_EQ(entry, 65535);  // the snap, in the 128th pass
}

class LoadCurvesTest : public SimDisplaysTest {
 protected:
  std::string Folder() const { return folder_.Folder(); }
  void WriteCurve(int number, const TRampCurve& curve) {
    WriteFile("Tonemark" + std::to_string(number) + ".lut", CurveFileText(curve, "\\\\.\\DISPLAY1"));
  }
  TGammaRamp RampFile(int number) const {
    TGammaRamp ramp{};
    EXPECT_TRUE(ReadRampFile(folder_.File("ramp" + std::to_string(number) + ".txt"), ramp));
    return ramp;
  }
  long Count(const std::string& call) const {
    const std::vector<std::string> calls = LogCalls();
    return std::count(calls.begin(), calls.end(), call);
  }
};

TEST_F(LoadCurvesTest, NoDisplaysReadAndLoadNothing) {
  Discover("");
  EXPECT_TRUE(LoadCurves(Folder()));
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(LoadCurvesTest, ADisplayAlreadyAtItsTargetIsLoadedOnceWithoutAPause) {
  WriteFile("ramp1.txt", RampFileOf(Identity));
  WriteCurve(1, TRampCurve{});
  Discover("[Monitor1]\n");
  EXPECT_TRUE(LoadCurves(Folder()));
  EXPECT_EQ(LogCalls(), (std::vector<std::string>{"get 1 ok", "set 1 ok", "get 1 ok"}));
}

TEST_F(LoadCurvesTest, WithoutACurveFileTheIdentitySnapsToLinearInPassOne) {
  Discover("[Monitor1]\n[Monitor2]\n");
  EXPECT_TRUE(LoadCurves(Folder()));
  EXPECT_EQ(LogCalls(), (std::vector<std::string>{"get 1 ok", "get 2 ok", "set 1 ok", "set 2 ok",
                                                  "get 1 ok", "get 2 ok"}));
  EXPECT_EQ(RampFile(1), Linear);
  EXPECT_EQ(RampFile(2)[767], 65280);
}

TEST_F(LoadCurvesTest, AFullSwingTakes128PassesAnd127Pauses) {
  WriteFile("ramp1.txt", RampFileOf(Black));
  WriteCurve(1, TRampCurve{});
  Discover("[Monitor1]\n");
  EXPECT_TRUE(LoadCurves(Folder()));
  EXPECT_EQ(Count("set 1 ok"), 128);
  EXPECT_EQ(Count("wait 10"), 127);
  EXPECT_EQ(RampFile(1), Identity);
  // The log shows the brightest entry of red on its way up.
  const std::vector<std::string> lines = LogLines();
  auto redTop = [&](size_t line) {
    std::istringstream words(lines[line]);
    std::string word;
    for (int i = 0; i < 3 + 255; ++i) words >> word;
    words >> word;
    return word;
  };
  EXPECT_EQ(redTop(1), "512");
  EXPECT_EQ(redTop(2 * 126 - 1), "64512");
  EXPECT_EQ(redTop(2 * 127 - 1), "65023");
  EXPECT_EQ(redTop(2 * 128 - 1), "65535");
}

TEST_F(LoadCurvesTest, DisplaysMoveTogetherUntilTheSlowestHasArrived) {
  // Every entry 1100 away settles in pass 3; 20000 away, in pass 40.
  WriteFile("ramp1.txt", RampFileOf(RampOf([](int level) { return level * 256 + 1100 - (level > 251) * 2200; })));
  WriteFile("ramp2.txt", RampFileOf(RampOf([](int level) { return level < 128 ? level * 256 + 20000 : level * 256 - 20000; })));
  Discover("[Monitor1]\n[Monitor2]\n");
  EXPECT_TRUE(LoadCurves(Folder()));
  EXPECT_EQ(Count("set 1 ok"), 3);
  EXPECT_EQ(Count("set 2 ok"), 40);
  EXPECT_EQ(Count("wait 10"), 39);
  const std::vector<std::string> calls = LogCalls();
  const std::vector<std::string> start(calls.begin(), calls.begin() + 12);
  EXPECT_EQ(start, (std::vector<std::string>{"get 1 ok", "get 2 ok", "set 1 ok", "set 2 ok", "wait 10",
                                              "set 1 ok", "set 2 ok", "wait 10", "set 1 ok",
                                              "set 2 ok", "wait 10", "set 2 ok"}));
  const std::vector<std::string> end(calls.end() - 3, calls.end());
  EXPECT_EQ(end, (std::vector<std::string>{"set 2 ok", "get 1 ok", "get 2 ok"}));
  EXPECT_EQ(RampFile(1), Linear);
  EXPECT_EQ(RampFile(2), Linear);
}

TEST_F(LoadCurvesTest, RefusedLoadsStillEndWhenThePresentRampArrives) {
  WriteFile("ramp1.txt", RampFileOf(Black));
  WriteCurve(1, TRampCurve{});
  Discover("[Monitor1]\nFail=set\n");
  TLoadReport report;
  EXPECT_FALSE(LoadCurves(Folder(), report));
  EXPECT_EQ(Count("set 1 refused"), 128);
  EXPECT_EQ(RampFile(1), Black);
  EXPECT_EQ(report.NotKept, std::vector<int32_t>{0});
}

TEST_F(LoadCurvesTest, AnUnreadableRampStartsFromLinearAfter50Ms) {
  WriteCurve(1, TRampCurve{});
  Discover("[Monitor1]\nFail=get\n");
  EXPECT_TRUE(LoadCurves(Folder()));
  // A ramp that cannot be read back is taken at the word of its last load.
  EXPECT_EQ(LogCalls(), (std::vector<std::string>{"get 1 fail", "set 1 ok", "wait 50", "set 1 ok",
                                                  "get 1 fail"}));
  EXPECT_EQ(LogLines()[1], "set 1 ok " + RampValues(Linear));
  EXPECT_EQ(RampFile(1), Identity);
}

TEST_F(LoadCurvesTest, ABadCurveFileLeavesItsDisplayAndIsReportedAfterTheOthers) {
  WriteFile("ramp2.txt", RampFileOf(Black));
  WriteCurve(1, TRampCurve{});
  WriteFile("Tonemark2.lut", "RampCurve v.2\r\n\\\\.\\DISPLAY2\r\n0\r\n12x\r\n");
  WriteCurve(3, TRampCurve{});
  Discover("[Monitor1]\n[Monitor2]\n[Monitor3]\n");
  try {
    LoadCurves(Folder());
    FAIL() << "the bad file was not reported";
  } catch (const TFileError& error) {
    EXPECT_EQ(std::string(error.what()), folder_.File("Tonemark2.lut") + ": Invalid numeric input");
  }
  EXPECT_EQ(LogCalls(), (std::vector<std::string>{"get 1 ok", "get 3 ok", "set 1 ok", "set 3 ok",
                                                  "get 1 ok", "get 3 ok"}));
  EXPECT_EQ(RampFile(1), Identity);
  EXPECT_EQ(RampFile(2), Black);
  EXPECT_EQ(RampFile(3), Identity);
}


TEST_F(LoadCurvesTest, ADisplayThatDropsItsRampIsReportedAndTheOthersAreLoaded) {
  WriteFile("ramp2.txt", RampFileOf(Black));
  Discover("[Monitor1]\n[Monitor2]\nFail=ignore\n");
  TLoadReport report;
  EXPECT_FALSE(LoadCurves(Folder(), report));
  EXPECT_EQ(report.NotKept, std::vector<int32_t>{1});
  EXPECT_EQ(RampFile(1), Linear);
  EXPECT_EQ(RampFile(2), Black);
}

// Cards of 8 bits give the linear ramp back as the identity, and a curve
// rounded; one that drops the curve is still reported.
TEST_F(LoadCurvesTest, ARampKeptAtTheCardsPrecisionIsKept) {
  TRampCurve curve;
  curve.Gamma = 20;
  WriteCurve(2, curve);
  WriteCurve(3, curve);
  Discover("[Monitor1]\nBits=8\n[Monitor2]\nBits=8\n[Monitor3]\nBits=8\nFail=ignore\n");
  TLoadReport report;
  EXPECT_FALSE(LoadCurves(Folder(), report));
  EXPECT_EQ(report.NotKept, std::vector<int32_t>{2});
  EXPECT_EQ(RampFile(1), Identity);
  EXPECT_EQ(RampFile(2)[128] % 257, 0);
}

TEST_F(LoadCurvesTest, ACurveThatBlacksTheScreenIsLoadedAsStoredAndReported) {
  TRampCurve dark;
  dark.Gamma = -100;
  WriteCurve(2, dark);
  Discover("[Monitor1]\n[Monitor2]\n");
  TLoadReport report;
  EXPECT_TRUE(LoadCurves(Folder(), report));
  EXPECT_EQ(report.NearlyUniform, std::vector<int32_t>{1});
  EXPECT_EQ(RampFile(2)[254], 0);
  EXPECT_EQ(RampFile(2)[255], 65535);
}

TEST_F(LoadCurvesTest, LinearRampsIgnoreTheCurveFiles) {
  TRampCurve dark;
  dark.Gamma = -100;
  WriteCurve(1, dark);
  WriteFile("ramp1.txt", RampFileOf(Black));
  Discover("[Monitor1]\n");
  TLoadReport report;
  EXPECT_TRUE(LoadLinearRamps(report));
  EXPECT_TRUE(report.NearlyUniform.empty());
  EXPECT_EQ(RampFile(1), Linear);
}

// One display whose video card keeps 1024 entries per channel, converted
// from and to 256 as the RandR backend converts them; `Drops` makes it
// forget every load.
class Card1024 : public TNoDisplays {
 public:
  static constexpr int Size = 1024;
  void EnumMonitors(const std::function<bool(TMonitorHandle)>& add) override { add(this); }
  bool QueryMonitorInfo(TMonitorHandle, TMonitorInfo&) override { return true; }
  TDisplayHandle CreateDisplayHandle(TMonitorHandle monitor, const std::string&) override { return monitor; }
  bool GetRamp(TDisplayHandle, TGammaRamp& ramp) override {
    ramp = RampFromCardEntries(entries_, Size);
    return true;
  }
  bool SetRamp(TDisplayHandle, const TGammaRamp& ramp) override {
    if (!Drops) entries_ = RampToCardEntries(ramp, Size);
    return true;
  }
  int32_t RampSize(TDisplayHandle) override { return Size; }
  void Wait(int32_t) override {}
  bool Drops = false;

 private:
  std::vector<uint16_t> entries_ = RampToCardEntries(Identity, Size);
};

class LoadCurvesOnCard1024 : public ::testing::Test {
 protected:
  LoadCurvesOnCard1024() {
    SetDisplaysPort(card_);
    EnumerateDisplays();
    TRampCurve curve;
    curve.Gamma = 20;
    curve.BlackR = 10;
    curve.WhiteB = -30;
    WriteBytes(data_.File("Tonemark1.lut"), CurveFileText(curve, "DP-1"));
    BuildRamp(curve, target_);
  }
  ~LoadCurvesOnCard1024() override {
    ReleaseDisplays();
    static TNoDisplays none;
    SetDisplaysPort(none);
  }
  TempFolder data_;
  Card1024 card_;
  TGammaRamp target_{};
};

TEST_F(LoadCurvesOnCard1024, AKeptRampVerifiesWithinTheResamplingError) {
  TGammaRamp held{};
  TLoadReport report;
  EXPECT_TRUE(LoadCurves(data_.Folder(), report));
  EXPECT_TRUE(report.NotKept.empty());
  ASSERT_TRUE(card_.GetRamp(nullptr, held));
  EXPECT_NE(held, target_);  // the round trip through 1024 entries moved some
  for (size_t i = 0; i < held.size(); ++i) EXPECT_LE(std::abs(held[i] - target_[i]), 2) << i;
}

TEST_F(LoadCurvesOnCard1024, ADroppedRampIsReported) {
  card_.Drops = true;
  TLoadReport report;
  EXPECT_FALSE(LoadCurves(data_.Folder(), report));
  EXPECT_EQ(report.NotKept, std::vector<int32_t>{0});
}

}  // namespace

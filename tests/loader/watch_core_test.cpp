// The watch's decisions over a system whose answers each test sets: which
// display it re-loads, which it leaves alone and why, and when it gives up.
#include "loader/watch_core.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct TFakeSystem {
  std::vector<uint16_t> Present[2];
  bool WindowOpen = false;
  TRunningPrograms Programs;
  bool NightLight = false;
  int ProgramLooks = 0;
  std::vector<std::string> Reapplied;
  std::vector<std::string> Told;
};
TFakeSystem* Fake = nullptr;

bool ReadRamp(int index, const TShownDisplay&, uint16_t* ramp) {
  std::memcpy(ramp, Fake->Present[index].data(), 768 * sizeof(uint16_t));
  return true;
}
bool WindowOpen() { return Fake->WindowOpen; }
TRunningPrograms Programs(const char*) {
  ++Fake->ProgramLooks;
  return Fake->Programs;
}
bool NightLight() { return Fake->NightLight; }
void Tell(const TDisplayStatus& display) { Fake->Told.push_back(display.Device); }
bool Reapply(const char* identity) {
  Fake->Reapplied.push_back(identity);
  return true;
}
constexpr TWatchSystem System = {ReadRamp, WindowOpen, Programs, NightLight, Tell, Reapply};

std::vector<uint16_t> Linear(double scale) {
  std::vector<uint16_t> ramp(768);
  for (int i = 0; i < 768; ++i) ramp[i] = static_cast<uint16_t>(i % 256 * 257 * scale);
  return ramp;
}

std::string Values(const std::vector<uint16_t>& ramp) {
  std::string text;
  for (uint16_t value : ramp) text += std::to_string(value) + " ";
  return text;
}

// Display 1 calibrated (its ramp 0.8 of linear), display 2 without a curve.
std::string Shown(const std::string& loaded) {
  return "[Display1]\nIdentity=ACM-1-77\nDevice=sim:1\nBackend=sim\nCurve=Tonemark1.lut\nLoaded=" + loaded +
         "\nResult=kept\nRamp=" + Values(Linear(0.8)) +
         "\n[Display2]\nIdentity=ACM-2-HDMI\nDevice=sim:2\nBackend=sim\nCurve=\nResult=kept\nRamp=" +
         Values(Linear(1)) + "\n";
}

class WatchCore : public testing::Test {
 protected:
  void SetUp() override {
    Fake = &fake_;
    fake_.Present[0] = Linear(0.8);
    fake_.Present[1] = Linear(0.5);  // another program may set it as it likes
    watch_->Seconds = 3;
    Take(Shown("100"), false);
  }
  void TearDown() override { Fake = nullptr; }

  void Take(const std::string& text, bool own) { TakeShownText(*watch_, text.data(), text.size(), own); }
  const TDisplayStatus& First() const { return watch_->Status.Displays[0]; }

  TFakeSystem fake_;
  std::unique_ptr<TWatchCore> watch_ = std::make_unique<TWatchCore>();
};

TEST_F(WatchCore, AShownCalibrationIsLeftAsItIsAndADisplayWithoutACurveNeverTouched) {
  EXPECT_FALSE(LookAtRamps(*watch_, System, 3000));
  EXPECT_TRUE(fake_.Reapplied.empty());
  EXPECT_EQ(fake_.ProgramLooks, 0) << "the process list only when a ramp differs";
  EXPECT_EQ(First().State, WatchLoaded);
  EXPECT_EQ(watch_->Status.Displays[1].State, WatchNoCurve);
}

TEST_F(WatchCore, AReplacedRampIsReloadedByItsIdentity) {
  fake_.Present[0] = Linear(1);
  EXPECT_TRUE(LookAtRamps(*watch_, System, 3000));
  EXPECT_EQ(fake_.Reapplied, std::vector<std::string>{"ACM-1-77"});
  EXPECT_EQ(First().ReloadsToday, 1);
  TakeLocalDay(*watch_, watch_->Day + 1);
  EXPECT_EQ(First().ReloadsToday, 0);
}

TEST_F(WatchCore, ARunningListedProgramAWindowOrTheNightLightLeaveTheDisplayAloneUntilTheyEnd) {
  fake_.Present[0] = Linear(1);
  fake_.WindowOpen = true;
  EXPECT_FALSE(LookAtRamps(*watch_, System, 3000));
  EXPECT_EQ(First().State, WatchLeftAlone);
  EXPECT_STREQ(First().Why, "a calibration window is open");
  fake_.WindowOpen = false;
  std::strcpy(fake_.Programs.LeaveAlone, "redshift");
  EXPECT_FALSE(LookAtRamps(*watch_, System, 6000));
  EXPECT_STREQ(First().Why, "redshift runs");
  fake_.Programs.LeaveAlone[0] = '\0';
  fake_.NightLight = true;
  EXPECT_FALSE(LookAtRamps(*watch_, System, 9000));
  EXPECT_STREQ(First().Why, "the desktop's night light is on");
  EXPECT_TRUE(fake_.Reapplied.empty());
  fake_.NightLight = false;
  EXPECT_TRUE(LookAtRamps(*watch_, System, 12000));
  EXPECT_EQ(fake_.Reapplied.size(), 1u);
}

TEST_F(WatchCore, WhileTonemarkRunsTheWatchWaitsWithoutCounting) {
  fake_.Present[0] = Linear(1);
  fake_.Programs.TonemarkRuns = true;
  for (uint64_t now = 3000; now < 30000; now += 3000) EXPECT_FALSE(LookAtRamps(*watch_, System, now));
  EXPECT_TRUE(fake_.Reapplied.empty());
  EXPECT_NE(First().State, WatchLeftAlone);
}

TEST_F(WatchCore, ThreeQuickReplacementsGiveTheDisplayUpWithOneMessageUntilTheNextLoadRun) {
  fake_.Present[0] = Linear(1);
  for (uint64_t now : {3000, 6000, 9000}) {
    EXPECT_TRUE(LookAtRamps(*watch_, System, now));
    Take(Shown("100"), true);  // the re-load's own rewrite keeps the count
  }
  EXPECT_FALSE(LookAtRamps(*watch_, System, 12000));
  EXPECT_FALSE(LookAtRamps(*watch_, System, 15000));
  EXPECT_EQ(fake_.Reapplied.size(), 3u);
  EXPECT_EQ(fake_.Told, std::vector<std::string>{"sim:1"});
  EXPECT_EQ(First().State, WatchLeftAlone);
  EXPECT_EQ(First().ReloadsToday, 3);
  Take(Shown("200"), true);
  EXPECT_EQ(First().State, WatchLeftAlone) << "a re-load of another display keeps it given up";

  Take(Shown("300"), false);  // a load run
  EXPECT_EQ(First().State, WatchLoaded);
  EXPECT_EQ(First().ReloadsToday, 3);
  EXPECT_TRUE(LookAtRamps(*watch_, System, 18000));
}

TEST_F(WatchCore, ADisplayThatRefusedItsLoadIsNamedWithLoadModesReasonAndNotReloaded) {
  Take("[Display1]\nIdentity=ACM-1-77\nDevice=sim:1\nBackend=sim\nCurve=Tonemark1.lut\nResult=refused\n"
       "Reason=the display keeps its ramp within a range\nRamp=\n",
       true);
  fake_.Present[0] = Linear(1);
  EXPECT_FALSE(LookAtRamps(*watch_, System, 3000));
  EXPECT_TRUE(fake_.Reapplied.empty());
  EXPECT_EQ(First().State, WatchRefused);
  EXPECT_STREQ(First().Why, "the display keeps its ramp within a range");
}

}  // namespace

#include <gtest/gtest.h>

#include "platform/sim/sim_ramp_file.h"
#include "ramp/ramp_access.h"
#include "tests/ramp/sim_displays_fixture.h"

namespace {

using RampAccess = SimDisplaysTest;

const TGammaRamp Identity = RampOf([](int level) { return level * 257; });
const TGammaRamp Linear = RampOf([](int level) { return level * 256; });
const TGammaRamp Dim = RampOf([](int level) { return level * 128; });
const TGammaRamp Bright = RampOf([](int level) { return 32768 + level * 128; });

TGammaRamp RampFile(const TempFolder& folder, int number) {
  TGammaRamp ramp{};
  EXPECT_TRUE(ReadRampFile(folder.File("ramp" + std::to_string(number) + ".txt"), ramp));
  return ramp;
}

TEST_F(RampAccess, CancellingPutsBackEveryStartRampDisplayZeroFirst) {
  WriteFile("ramp1.txt", RampFileOf(Dim));
  WriteFile("ramp2.txt", RampFileOf(Bright));
  Discover("[Monitor1]\n[Monitor2]\n");
  SaveRamps();
  ASSERT_TRUE(ReadDisplayRamp(1));
  Curves[1].Gamma = 30;
  ASSERT_TRUE(SetCurveRamp(1));
  EXPECT_NE(RampFile(folder_, 2), Bright);
  ClearLog();

  RestoreRamps();
  EXPECT_EQ(LogCalls(), (std::vector<std::string>{"set 1 ok", "set 2 ok"}));
  EXPECT_EQ(RampFile(folder_, 1), Dim);
  EXPECT_EQ(RampFile(folder_, 2), Bright);
}

TEST_F(RampAccess, AnUnreadableStartRampIsSavedAsTheLinearRamp) {
  Discover("[Monitor1]\nFail=get\n[Monitor2]\n");
  SaveRamps();
  ASSERT_EQ(SavedRamps.size(), 2u);
  EXPECT_EQ(SavedRamps[0], Linear);
  EXPECT_EQ(SavedRamps[1], Identity);
  RestoreRamps();
  EXPECT_EQ(RampFile(folder_, 1)[255], 65280);
}

TEST_F(RampAccess, LinearThenCurveLoadsTheRecordsRamp) {
  Discover("[Monitor1]\n");
  ASSERT_TRUE(SetCurveRamp(0));
  ASSERT_TRUE(SetLinearRamp(0));
  EXPECT_EQ(RampFile(folder_, 1), Linear);
  // The graph keeps showing the calibration while the card runs linear.
  EXPECT_EQ(WorkRamp, Identity);
  ASSERT_TRUE(SetCurveRamp(0));
  EXPECT_EQ(RampFile(folder_, 1), Identity);
}

TEST_F(RampAccess, AnIndexPastTheDisplaysDoesNothing) {
  Discover("[Monitor1]\n[Monitor2]\n");
  CurrentDisplay = 1;
  WorkRamp = Dim;
  ClearLog();
  EXPECT_FALSE(SetCurveRamp(2));
  EXPECT_FALSE(SetLinearRamp(2));
  EXPECT_FALSE(ReadDisplayRamp(2));
  EXPECT_FALSE(ReadDisplayRamp(-1));
  EXPECT_EQ(CurrentDisplay, 1);
  EXPECT_EQ(WorkRamp, Dim);
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(RampAccess, ReadingMakesTheDisplayTheEditedOne) {
  WriteFile("ramp2.txt", RampFileOf(Bright));
  Discover("[Monitor1]\n[Monitor2]\nFail=get\n[Monitor3]\n");
  ASSERT_TRUE(ReadDisplayRamp(2));
  EXPECT_EQ(CurrentDisplay, 2);
  EXPECT_EQ(WorkRamp, Identity);

  // A failed read still selects the display but keeps WorkRamp.
  EXPECT_FALSE(ReadDisplayRamp(1));
  EXPECT_EQ(CurrentDisplay, 1);
  EXPECT_EQ(WorkRamp, Identity);
}

TEST_F(RampAccess, ARefusedLoadKeepsTheCardsRampAndTheBuiltWorkRamp) {
  WriteFile("ramp1.txt", RampFileOf(Dim));
  Discover("[Monitor1]\nFail=set\n");
  EXPECT_FALSE(SetCurveRamp(0));
  EXPECT_EQ(WorkRamp, Identity);
  EXPECT_FALSE(SetLinearRamp(0));
  EXPECT_EQ(RampFile(folder_, 1), Dim);
  EXPECT_EQ(LogCalls(), (std::vector<std::string>{"set 1 refused", "set 1 refused"}));
}

}  // namespace

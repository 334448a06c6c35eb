// The adjustment loop: controls into the record, the record into the video
// card (counted through the simulated displays' log) and back.
#include "tests/ui/window_fixture.h"

namespace {

class AdjustTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    StartDisplays({"Rect=0,0,1920,1080"});
    CreateForm();
    ClearLog();
  }
  TRampCurve& Edited() { return Curves[0]; }
  // Point values at `level` from the record, as the four point controls show them.
  std::vector<int32_t> PointValues(int level) {
    return {Edited().Point[level], Edited().PointR[level], Edited().PointG[level], Edited().PointB[level]};
  }
  std::vector<int32_t> PointControls() {
    return {form->PointUpDown.Position, form->PointRUpDown.Position, form->PointGUpDown.Position,
            form->PointBUpDown.Position};
  }
};

TEST_F(AdjustTest, AnArrowClickStoresTheGroupReloadsTheRampAndRepaints) {
  Edited().Gamma = 7;  // not shown by the controls: the handler rewrites it
  const int repaints = view.Repaints;
  form->GammaRUpDown.Step(true);
  EXPECT_EQ(form->GammaREdit.Text, "1");
  EXPECT_EQ(Edited().GammaR, 1);
  EXPECT_EQ(Edited().Gamma, 0);
  EXPECT_EQ(Edited().GammaG, 0);
  EXPECT_EQ(LoadsInto(1), 1);
  EXPECT_EQ(view.Repaints, repaints + 1);
  const TGammaRamp loaded = RampOf(1);
  EXPECT_EQ(loaded, WorkRamp);
  EXPECT_NE(loaded[128], 128 * 257);        // red follows the new gamma
  EXPECT_EQ(loaded[256 + 128], 128 * 257);  // green and blue do not
  EXPECT_EQ(loaded[512 + 128], 128 * 257);
}

TEST_F(AdjustTest, TypedNumbersReachEveryGroupsFields) {
  form->BlackEdit.SetText("-40");
  form->WhiteBEdit.SetText("12");
  form->BalanceGEdit.SetText("250");  // kept within -100..100
  form->GammaEdit.SetText("x");       // not a number: the position stays
  EXPECT_EQ(Edited().Black, -40);
  EXPECT_EQ(Edited().WhiteB, 12);
  EXPECT_EQ(Edited().BalanceG, 100);
  EXPECT_EQ(Edited().Gamma, 0);
  EXPECT_EQ(LoadsInto(1), 4);
}

TEST_F(AdjustTest, AGroupResetReloadsOncePerControlThatChanges) {
  form->WhiteResetButtonClick();
  form->BalanceResetButtonClick();
  EXPECT_EQ(LoadsInto(1), 0);

  form->WhiteUpDown.SetPosition(5);
  form->WhiteGUpDown.SetPosition(-3);
  ClearLog();
  form->WhiteResetButton.Click();
  EXPECT_EQ(LoadsInto(1), 2);
  EXPECT_EQ(Edited().White, 0);
  EXPECT_EQ(Edited().WhiteG, 0);
  EXPECT_EQ(RampOf(1), IdentityRamp());
}

TEST_F(AdjustTest, TheBarsResetClearsOnlyTheRecordAndKeepsTheStandard) {
  form->StandardComboBox.Select(3);
  form->GammaUpDown.SetPosition(20);
  form->PointBUpDown.SetPosition(9);
  form->ResetButton.Click();
  EXPECT_EQ(Edited().Gamma, 0);
  EXPECT_FALSE(Edited().PointSet[127]);
  EXPECT_EQ(Edited().Standard, 3);
  EXPECT_EQ(form->GammaEdit.Text, "0");
  EXPECT_EQ(form->PointBUpDown.Position, 0);
  EXPECT_EQ(RampOf(1), IdentityRamp());
}

TEST_F(AdjustTest, EditingAPointValueMakesTheLevelASetPoint) {
  form->PointGUpDown.Step(true);
  EXPECT_TRUE(Edited().PointSet[127]);
  EXPECT_EQ(PointValues(127), (std::vector<int32_t>{0, 0, 1, 0}));
  EXPECT_TRUE(form->PointCheckBox.Checked);
  EXPECT_TRUE(form->EventsEnabled);
  EXPECT_EQ(LoadsInto(1), 1);
}

TEST_F(AdjustTest, UncheckingTheOnlySetPointZeroesEveryCorrection) {
  form->PointUpDown.SetPosition(30);
  ASSERT_NE(Edited().Point[64], 0);  // interpolated from the set point
  form->PointCheckBox.Click();
  EXPECT_FALSE(Edited().PointSet[127]);
  for (int level : {0, 127, 255}) EXPECT_EQ(PointValues(level), (std::vector<int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(PointControls(), (std::vector<int32_t>{0, 0, 0, 0}));
  EXPECT_EQ(RampOf(1), IdentityRamp());
}

TEST_F(AdjustTest, CheckingKeepsTheShownValuesAsASetPoint) {
  form->PointUpDown.SetPosition(30);  // a set point at 127
  form->PointPosUpDown.SetPosition(40);
  ASSERT_FALSE(Edited().PointSet[40]);
  const std::vector<int32_t> shown = PointControls();
  ASSERT_NE(shown[0], 0);  // interpolated from the point at 127
  form->PointCheckBox.Click();
  EXPECT_TRUE(Edited().PointSet[40]);
  EXPECT_EQ(PointValues(40), shown);
}

TEST_F(AdjustTest, PointResetOnAnInterpolatedLevelSetsItToZero) {
  form->PointPosUpDown.SetPosition(100);
  form->PointUpDown.SetPosition(20);
  form->PointPosUpDown.SetPosition(200);
  form->PointUpDown.SetPosition(40);
  form->PointPosUpDown.SetPosition(150);
  ASSERT_FALSE(Edited().PointSet[150]);
  ASSERT_NE(form->PointUpDown.Position, 0);
  form->PointResetButton.Click();
  EXPECT_TRUE(Edited().PointSet[150]);
  EXPECT_EQ(PointValues(150), (std::vector<int32_t>{0, 0, 0, 0}));
  EXPECT_TRUE(form->PointCheckBox.Checked);
}

TEST_F(AdjustTest, PointResetOnALevelAlreadyAtZeroChangesNothing) {
  form->PointResetButton.Click();
  EXPECT_FALSE(Edited().PointSet[127]);
  EXPECT_EQ(LoadsInto(1), 0);
}

TEST_F(AdjustTest, NextAndPrevWithoutSetPointsStepOneLevelAndStopAtTheEnds) {
  form->PointNextButton.Click();
  EXPECT_EQ(CurrentPoint, 128);
  EXPECT_EQ(form->PointPosEdit.Text, "128");
  form->PointPosUpDown.SetPosition(255);
  form->PointNextButton.Click();
  EXPECT_EQ(CurrentPoint, 255);
  form->PointPosUpDown.SetPosition(0);
  form->PointPrevButton.Click();
  EXPECT_EQ(CurrentPoint, 0);
  form->PointPosUpDown.SetPosition(1);
  form->PointPrevButton.Click();
  EXPECT_EQ(CurrentPoint, 0);
}

TEST_F(AdjustTest, NextAndPrevVisitTheSetPointsAndShowTheirValues) {
  form->PointPosUpDown.SetPosition(12);
  form->PointRUpDown.SetPosition(-8);
  form->PointNextButton.Click();  // 12 is the only set point: it stays
  EXPECT_EQ(CurrentPoint, 12);
  form->PointPrevButton.Click();
  EXPECT_EQ(CurrentPoint, 12);
  form->PointPosUpDown.SetPosition(240);
  form->PointRUpDown.SetPosition(6);
  form->PointPosUpDown.SetPosition(127);
  form->PointNextButton.Click();
  EXPECT_EQ(CurrentPoint, 240);
  EXPECT_EQ(form->PointPosUpDown.Position, 240);
  EXPECT_EQ(form->PointRUpDown.Position, 6);
  form->PointNextButton.Click();
  EXPECT_EQ(CurrentPoint, 12);
  EXPECT_EQ(form->PointRUpDown.Position, -8);
  EXPECT_TRUE(form->PointCheckBox.Checked);
}

TEST_F(AdjustTest, ClearAllRemovesEveryPointAndKeepsTheOtherAdjustments) {
  form->BlackUpDown.SetPosition(10);
  form->PointUpDown.SetPosition(10);
  form->PointClearButton.Click();
  EXPECT_FALSE(Edited().PointSet[127]);
  EXPECT_EQ(Edited().Point[127], 0);
  EXPECT_EQ(Edited().Black, 10);
  EXPECT_FALSE(form->PointCheckBox.Checked);
}

TEST_F(AdjustTest, AnAdjustmentWhileTheRampIsOffLoadsTheComputedRampAgain) {
  form->OffButton.Click();
  EXPECT_FALSE(form->LutActive);
  EXPECT_EQ(form->OffButton.Caption, "BOnLUT");
  EXPECT_EQ(RampOf(1), LinearTestRamp());
  form->BlackUpDown.Step(true);
  EXPECT_TRUE(form->LutActive);
  EXPECT_EQ(form->OffButton.Caption, "BOffLUT");
  EXPECT_EQ(RampOf(1), WorkRamp);
  EXPECT_NE(RampOf(1), LinearTestRamp());
}

TEST_F(AdjustTest, OffAndOnAgainLoadsTheSameComputedRampWithoutRepainting) {
  form->GammaUpDown.SetPosition(-30);
  const TGammaRamp computed = RampOf(1);
  const int repaints = view.Repaints;
  form->OffButton.Click();
  form->OffButton.Click();
  EXPECT_TRUE(form->LutActive);
  EXPECT_EQ(form->OffButton.Caption, "BOffLUT");
  EXPECT_EQ(RampOf(1), computed);
  EXPECT_EQ(view.Repaints, repaints);
  EXPECT_EQ(Edited().Gamma, -30);
}

TEST_F(AdjustTest, ChoosingAStandardStoresItAndHandsItToThePatterns) {
  form->StandardComboBox.Select(7);
  EXPECT_EQ(Edited().Standard, 7);
  EXPECT_EQ(CurrentStandard, 7);
  EXPECT_EQ(LoadsInto(1), 1);
  EXPECT_EQ(RampOf(1), IdentityRamp());  // the standard changes no ramp entry
}

TEST_F(AdjustTest, SyncControlsShowsTheRecordAndNeverChangesIt) {
  TRampCurve& curve = Edited();
  curve.Standard = 13;
  curve.Gamma = -100;
  curve.GammaB = 100;
  curve.BlackR = 5;
  curve.WhiteG = -6;
  curve.BalanceB = 77;
  curve.PointSet[127] = true;
  curve.PointR[127] = -50;
  const TRampCurve before = curve;
  form->SyncControls();
  EXPECT_EQ(curve, before);
  EXPECT_EQ(form->GammaUpDown.Position, -100);
  EXPECT_EQ(form->GammaBUpDown.Position, 100);
  EXPECT_EQ(form->BlackRUpDown.Position, 5);
  EXPECT_EQ(form->WhiteGUpDown.Position, -6);
  EXPECT_EQ(form->BalanceBUpDown.Position, 77);
  EXPECT_TRUE(form->PointCheckBox.Checked);
  EXPECT_EQ(form->PointRUpDown.Position, -50);
  EXPECT_EQ(form->StandardComboBox.ItemIndex, 13);
  EXPECT_EQ(LoadsInto(1), 0);

  curve.Standard = 14;
  form->SyncControls();
  EXPECT_EQ(form->StandardComboBox.ItemIndex, -1);
}

TEST_F(AdjustTest, AValueOutsideTheRangeShowsClampedAndIsWrittenBackOnTheNextChange) {
  Edited().Black = 300;
  Edited().BlackR = 2;
  form->SyncControls();
  EXPECT_EQ(form->BlackUpDown.Position, 100);
  EXPECT_EQ(Edited().Black, 300);
  form->BlackRUpDown.Step(true);
  EXPECT_EQ(Edited().Black, 100);
  EXPECT_EQ(Edited().BlackR, 3);
}

}  // namespace

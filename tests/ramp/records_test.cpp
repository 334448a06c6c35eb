#include <gtest/gtest.h>

#include "ramp/records.h"

namespace {

TRampCurve WithPoints(std::initializer_list<int> levels) {
  TRampCurve curve;
  for (int level : levels) curve.PointSet[level] = true;
  return curve;
}

TEST(PointNavigation, WithoutSetPointsStepsOneLevelAndStopsAtTheEnds) {
  const TRampCurve curve;
  EXPECT_EQ(NextPoint(curve, 10), 11);
  EXPECT_EQ(NextPoint(curve, 255), 255);
  EXPECT_EQ(PrevPoint(curve, 10), 9);
  EXPECT_EQ(PrevPoint(curve, 0), 0);
}

TEST(PointNavigation, ASingleSetPointIsFoundByWrappingRound) {
  const TRampCurve curve = WithPoints({200});
  EXPECT_EQ(NextPoint(curve, 250), 200);
  EXPECT_EQ(PrevPoint(curve, 100), 200);
  EXPECT_EQ(NextPoint(curve, 200), 200);
  EXPECT_EQ(PrevPoint(curve, 200), 200);
}

TEST(PointNavigation, TwoSetPointsAlternate) {
  const TRampCurve curve = WithPoints({12, 240});
  EXPECT_EQ(NextPoint(curve, 12), 240);
  EXPECT_EQ(NextPoint(curve, 240), 12);
  EXPECT_EQ(PrevPoint(curve, 12), 240);
  EXPECT_EQ(PrevPoint(curve, 240), 12);
  EXPECT_EQ(NextPoint(curve, 0), 12);
  EXPECT_EQ(PrevPoint(curve, 255), 240);
}

TEST(ResetCurve, KeepsTheStandardAndZeroesEverythingElse) {
  TRampCurve curve = WithPoints({3, 77});
  curve.Standard = 5;
  curve.Gamma = 12;
  curve.BlackG = -4;
  curve.WhiteB = 9;
  curve.BalanceR = 100;
  curve.Point[3] = 40;
  curve.PointB[200] = -7;
  ResetCurve(curve);
  TRampCurve expected;
  expected.Standard = 5;
  EXPECT_EQ(curve, expected);
}

TEST(ClearPoints, LeavesTheAdjustmentsAlone) {
  TRampCurve curve = WithPoints({0, 128, 255});
  curve.Standard = 3;
  curve.Gamma = -20;
  curve.BlackR = 7;
  curve.White = 15;
  curve.BalanceG = -33;
  curve.Point[128] = 50;
  curve.PointR[5] = 2;
  curve.PointG[255] = -1;
  TRampCurve expected = curve;
  expected.PointSet.fill(false);
  expected.Point.fill(0);
  expected.PointR.fill(0);
  expected.PointG.fill(0);
  expected.PointB.fill(0);
  ClearPoints(curve);
  EXPECT_EQ(curve, expected);
}

}  // namespace

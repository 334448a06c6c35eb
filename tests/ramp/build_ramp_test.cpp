#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ramp/build_ramp.h"

namespace {

enum Channel { Red = 0, Green = 1, Blue = 2 };

uint16_t Entry(const TGammaRamp& ramp, Channel channel, int level) {
  return ramp[channel * LevelCount + level];
}

std::vector<int> Entries(const TGammaRamp& ramp, Channel channel, std::vector<int> levels) {
  for (int& level : levels) level = Entry(ramp, channel, level);
  return levels;
}

std::vector<int> MasterPoints(const TRampCurve& curve, std::vector<int> levels) {
  for (int& level : levels) level = curve.Point[level];
  return levels;
}

TGammaRamp Build(TRampCurve curve) {
  TGammaRamp ramp{};
  BuildRamp(curve, ramp);
  return ramp;
}

TRampCurve WithPoint(TRampCurve curve, int level, int value) {
  curve.PointSet[level] = true;
  curve.Point[level] = value;
  return curve;
}

TEST(BuildRamp, AllZeroRecordGivesTheIdentityRamp) {
  TRampCurve curve;
  TGammaRamp ramp{};
  BuildRamp(curve, ramp);
  for (int c = Red; c <= Blue; ++c)
    for (int i = 0; i < LevelCount; ++i) ASSERT_EQ(Entry(ramp, Channel(c), i), 257 * i);
  EXPECT_EQ(curve, TRampCurve{});
}

TEST(LinearRamp, StepsBy256UpTo65280) {
  TGammaRamp ramp{};
  LinearRamp(ramp);
  for (int c = Red; c <= Blue; ++c)
    for (int i = 0; i < LevelCount; ++i) ASSERT_EQ(Entry(ramp, Channel(c), i), 256 * i);
  EXPECT_EQ(Entry(ramp, Blue, 255), 65280);
}

TEST(BuildRamp, GammaMinus100BlacksEverythingButFullScale) {
  TRampCurve master;
  master.Gamma = -100;
  TRampCurve green;
  green.GammaG = -100;
  const TGammaRamp all = Build(master), greenOnly = Build(green);
  for (int i = 0; i < 255; ++i) {
    ASSERT_EQ(Entry(all, Red, i), 0);
    ASSERT_EQ(Entry(all, Blue, i), 0);
    ASSERT_EQ(Entry(greenOnly, Green, i), 0);
    ASSERT_EQ(Entry(greenOnly, Red, i), 257 * i);
  }
  EXPECT_EQ(Entry(all, Red, 255), 65535);
  EXPECT_EQ(Entry(greenOnly, Green, 255), 65535);
}

TEST(BuildRamp, GammaChangesTheExponent) {
  TRampCurve up;
  up.Gamma = 100;
  EXPECT_EQ(Entries(Build(up), Red, {1, 2, 64, 128, 255}),
            (std::vector<int>{4104, 5804, 32832, 46431, 65535}));

  TRampCurve down;
  down.Gamma = -50;
  EXPECT_EQ(Entry(Build(down), Red, 128), 16513);

  TRampCurve mixed;
  mixed.Gamma = 50;
  mixed.GammaR = -50;
  const TGammaRamp ramp = Build(mixed);
  EXPECT_EQ(Entry(ramp, Red, 128), 26144);
  EXPECT_EQ(Entry(ramp, Green, 128), 41392);
}

TEST(BuildRamp, BlackLiftFadesOutTowardFullScale) {
  TRampCurve master;
  master.Black = 100;
  EXPECT_EQ(Entries(Build(master), Green, {0, 1, 2, 128, 255}),
            (std::vector<int>{12800, 13007, 13213, 39271, 65535}));

  TRampCurve red;
  red.BlackR = 100;
  const TGammaRamp ramp = Build(red);
  EXPECT_EQ(Entries(ramp, Red, {0, 1, 2}), (std::vector<int>{6400, 6632, 6864}));
  EXPECT_EQ(Entries(ramp, Green, {0, 1, 2}), (std::vector<int>{0, 257, 514}));
}

TEST(BuildRamp, WhiteScalesAndClipsAtFullScale) {
  TRampCurve lower;
  lower.White = -100;
  EXPECT_EQ(Entries(Build(lower), Blue, {255, 128}), (std::vector<int>{39935, 20046}));

  TRampCurve higher;
  higher.White = 100;
  const TGammaRamp ramp = Build(higher);
  EXPECT_EQ(Entries(ramp, Red, {180, 181, 182, 183}),
            (std::vector<int>{64330, 64688, 65045, 65402}));
  for (int i = 184; i < LevelCount; ++i) ASSERT_EQ(Entry(ramp, Red, i), 65535) << i;
}

TEST(BuildRamp, BalanceOffsetsOneChannelAndClips) {
  TRampCurve red;
  red.BalanceR = 100;
  const TGammaRamp raised = Build(red);
  EXPECT_EQ(Entries(raised, Red, {0, 1, 255}), (std::vector<int>{3200, 3457, 65535}));
  EXPECT_EQ(Entry(raised, Green, 1), 257);

  TRampCurve blue;
  blue.BalanceB = -100;
  EXPECT_EQ(Entries(Build(blue), Blue, {0, 1, 2, 255}), (std::vector<int>{0, 0, 0, 62335}));
}

TEST(InterpolatePoints, OnePointIsLinearBelowAndSplineAbove) {
  TRampCurve curve = WithPoint({}, 128, 100);
  TGammaRamp ramp{};
  BuildRamp(curve, ramp);
  EXPECT_EQ(MasterPoints(curve, {0, 1, 2, 64, 127}), (std::vector<int>{0, 0, 1, 50, 99}));
  EXPECT_EQ(MasterPoints(curve, {129, 192, 254}), (std::vector<int>{99, 55, 0}));
  EXPECT_EQ(Entries(ramp, Red, {64, 128, 192}), (std::vector<int>{19648, 39296, 52864}));
}

TEST(InterpolatePoints, TwoPointsMakeTheSegmentBetweenThemLinear) {
  TRampCurve curve = WithPoint(WithPoint({}, 64, 40), 192, -40);
  InterpolatePoints(curve);
  EXPECT_EQ(MasterPoints(curve, {0, 32, 63, 65, 96, 128, 160, 191, 193, 224, 254, 255}),
            (std::vector<int>{0, 25, 40, 39, 20, 0, -20, -39, -40, -24, 0, 0}));
}

TEST(InterpolatePoints, SplineSegmentsOvershootBetweenEqualPoints) {
  TRampCurve curve = WithPoint(WithPoint(WithPoint({}, 64, 40), 128, 40), 192, 40);
  InterpolatePoints(curve);
  EXPECT_EQ(MasterPoints(curve, {96, 160, 32, 224}), (std::vector<int>{42, 40, 20, 19}));
}

TEST(InterpolatePoints, PointsAtTheEndLevelsSkipTheEmptySegments) {
  TRampCurve first = WithPoint({}, 0, 100);
  TGammaRamp ramp{};
  BuildRamp(first, ramp);
  EXPECT_EQ(MasterPoints(first, {1, 64, 128, 254, 255}), (std::vector<int>{99, 86, 55, 0, 0}));
  EXPECT_EQ(Entry(ramp, Red, 0), 6400);

  TRampCurve last = WithPoint({}, 255, -100);
  BuildRamp(last, ramp);
  EXPECT_EQ(MasterPoints(last, {64, 128, 254}), (std::vector<int>{-25, -50, -99}));
  EXPECT_EQ(Entries(ramp, Green, {255, 254}), (std::vector<int>{59135, 58942}));
}

TEST(InterpolatePoints, EachChannelColumnFollowsItsOwnPoints) {
  TRampCurve curve;
  curve.PointSet[128] = true;
  curve.PointR[128] = 100;
  curve.PointB[128] = -100;
  TGammaRamp ramp{};
  BuildRamp(curve, ramp);
  EXPECT_EQ(curve.PointR[64], 50);
  EXPECT_EQ(curve.PointB[64], -50);
  EXPECT_EQ(curve.Point[64], 0);
  EXPECT_EQ(Entry(ramp, Red, 128), 39296);
  EXPECT_EQ(Entry(ramp, Green, 128), 32896);
}

TEST(InterpolatePoints, UnsettingEveryPointClearsTheInterpolatedValues) {
  TRampCurve curve = WithPoint({}, 128, 100);
  InterpolatePoints(curve);
  curve.PointSet[128] = false;
  InterpolatePoints(curve);
  EXPECT_EQ(curve, TRampCurve{});
}

TEST(BuildRamp, IsTheSameEveryTimeForOneRecord) {
  TRampCurve curve = WithPoint(WithPoint({}, 30, 17), 200, -60);
  curve.GammaB = 13;
  curve.BlackR = -8;
  TGammaRamp first{}, second{};
  BuildRamp(curve, first);
  BuildRamp(curve, second);
  EXPECT_EQ(first, second);
}

TEST(BuildRamp, ExtremeValuesFromAFileSaturateInsteadOfOverflowing) {
  TRampCurve curve = WithPoint(WithPoint(WithPoint({}, 64, INT_MAX), 128, INT_MAX), 192, INT_MAX);
  curve.Gamma = INT_MAX;
  curve.GammaR = INT_MIN;
  TGammaRamp ramp{};
  BuildRamp(curve, ramp);
  EXPECT_EQ(curve.Point[96], INT_MAX);  // the spline overshoots past the 32-bit range
  EXPECT_EQ(Entry(ramp, Green, 96), 65535);
  EXPECT_EQ(Entry(ramp, Red, 0), 0);
}

}  // namespace

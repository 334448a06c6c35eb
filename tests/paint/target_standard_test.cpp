#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "paint/target_standard.h"
#include "paint_setup.h"

namespace {

enum Standard {
  Srgb = 0, Gamma22 = 1, Bt1886Black050 = 2, Bt1886Black001 = 6, Gamma24 = 7, Gamma26 = 8,
  Gamma20 = 10, Bt709 = 13
};

using TPairs = std::map<int, TDitherPair>;

TPairs PairsAt(const std::vector<int>& levels) {
  TPairs pairs;
  for (int level : levels) pairs[level] = DitherPair(level);
  return pairs;
}

const std::vector<int> SampleLevels = {1, 64, 127, 128, 180, 187, 188, 200, 230, 254};

TEST_F(PaintTest, EncodeOfOneHalfFollowsEachStandard) {
  const std::map<int, long double> expected = {
      {Srgb, 0.735356983052L},       {Gamma22, 0.729740052841L}, {Bt1886Black050, 0.718162487897L},
      {Bt1886Black001, 0.743630218940L}, {Gamma24, 0.749153538438L}, {Gamma26, 0.765983178668L},
      {Gamma20, 0.707106781187L},    {Bt709, 0.705515089922L}};
  for (const auto& [standard, value] : expected) {
    CurrentStandard = standard;
    EXPECT_NEAR(double(StandardEncode(0.5L)), double(value), 1e-11) << standard;
  }
}

TEST_F(PaintTest, DecodeUndoesEncodeForEveryStandard) {
  for (CurrentStandard = 0; CurrentStandard < StandardCount; ++CurrentStandard)
    for (long double light : {0.0L, 0.001L, 0.02L, 0.2L, 0.5L, 0.9L, 1.0L})
      EXPECT_NEAR(double(StandardDecode(StandardEncode(light))), double(light), 1e-15)
          << CurrentStandard << " " << double(light);
}

TEST_F(PaintTest, PiecewiseStandardsSwitchToTheirLinearSegmentAtTheKnee) {
  CurrentStandard = Srgb;
  EXPECT_NEAR(double(StandardEncode(0.0031308L)), 0.040449936, 1e-12);
  EXPECT_NEAR(double(StandardDecode(0.04045L)), 0.04045 / 12.92, 1e-15);
  CurrentStandard = Bt709;
  EXPECT_NEAR(double(StandardEncode(0.018L)), 0.081, 1e-15);
  EXPECT_NEAR(double(StandardDecode(0.081L)), 0.018, 1e-15);
}

TEST(Bt1886, BelowBlackEverythingIsZero) {
  EXPECT_EQ(Bt1886Encode(-0.1L, 0.50L), 0);
  EXPECT_EQ(Bt1886Encode(-1e-9L, 0.01L), 0);
  // beta is 0.1235459 at 0.50 nits: the signal may go that far below zero.
  EXPECT_EQ(Bt1886Decode(-0.2L, 0.50L), 0);
  EXPECT_NEAR(double(Bt1886Decode(-0.1L, 0.50L)), 9.3579024854e-05, 1e-14);
  EXPECT_NEAR(double(Bt1886Decode(1.0L, 0.50L)), 1.0, 1e-15);
  EXPECT_NEAR(double(Bt1886Decode(0.0L, 0.50L)), 0.005, 1e-15);
  EXPECT_NEAR(double(Bt1886Encode(0.005L, 0.50L)), 0.0, 1e-15);
}

TEST_F(PaintTest, DitherPairOfBlackAndWhiteIsThemselvesUnderEveryStandard) {
  for (CurrentStandard = -1; CurrentStandard <= StandardCount; ++CurrentStandard) {
    EXPECT_EQ(DitherPair(0), (TDitherPair{0, 0})) << CurrentStandard;
    EXPECT_EQ(DitherPair(255), (TDitherPair{255, 255})) << CurrentStandard;
  }
}

TEST_F(PaintTest, DitherPairLiftsTheLowLineOnceTheHighOneReachesWhite) {
  CurrentStandard = Gamma22;
  EXPECT_EQ(DitherPair(127), (TDitherPair{0, 174}));
  CurrentStandard = Srgb;
  EXPECT_EQ(DitherPair(187), (TDitherPair{0, 254}));
  EXPECT_EQ(DitherPair(188), (TDitherPair{17, 255}));
}

TEST_F(PaintTest, DitherPairsFollowTheChosenStandard) {
  CurrentStandard = Srgb;
  EXPECT_EQ(PairsAt(SampleLevels),
            (TPairs{{1, {0, 2}}, {64, {0, 90}}, {127, {0, 174}}, {128, {0, 176}},
                    {180, {0, 245}}, {187, {0, 254}}, {188, {17, 255}}, {200, {110, 255}},
                    {230, {201, 255}}, {254, {253, 255}}}));
  // In the shadows of a linear toe or a black above zero, a pair scaled as
  // under a power law (sRGB 16: high 22) would give a quarter less light.
  EXPECT_EQ(PairsAt({2, 8, 16, 32}), (TPairs{{2, {0, 4}}, {8, {0, 15}}, {16, {0, 26}}, {32, {0, 47}}}));
  CurrentStandard = Bt1886Black001;
  EXPECT_EQ(PairsAt(SampleLevels),
            (TPairs{{1, {0, 2}}, {64, {0, 87}}, {127, {0, 171}}, {128, {0, 173}},
                    {180, {0, 242}}, {187, {0, 251}}, {188, {0, 253}}, {200, {107, 255}},
                    {230, {201, 255}}, {254, {253, 255}}}));
  CurrentStandard = Gamma24;
  EXPECT_EQ(PairsAt({127, 187, 188, 200, 230}),
            (TPairs{{127, {0, 170}}, {187, {0, 250}}, {188, {0, 251}}, {200, {104, 255}},
                    {230, {200, 255}}}));
  CurrentStandard = Bt709;
  EXPECT_EQ(PairsAt({64, 127, 180, 187, 230, 245}),
            (TPairs{{64, {0, 97}}, {127, {0, 183}}, {180, {0, 255}}, {187, {64, 255}},
                    {230, {202, 255}}, {245, {235, 255}}}));
  CurrentStandard = Bt1886Black050;
  EXPECT_EQ(PairsAt({2, 8, 16, 32, 127, 187, 188}),
            (TPairs{{2, {0, 4}}, {8, {0, 14}}, {16, {0, 27}}, {32, {0, 50}}, {127, {0, 179}},
                    {187, {46, 255}}, {188, {54, 255}}}));
}

TEST_F(PaintTest, DitherPairsAverageTheLevelsLightWithinHalfALevel) {
  const auto decode = [](long double level) { return StandardDecode(std::max(level, 0.0L) / 255); };
  for (CurrentStandard = 0; CurrentStandard < StandardCount; ++CurrentStandard)
    for (int level = 0; level < 256; ++level) {
      const TDitherPair pair = DitherPair(level);
      const long double mean = (decode(pair.Low) + decode(pair.High)) / 2;
      // Rounding a line by up to half a level moves the mean by half as much light.
      const int rounded = pair.High < 255 || pair.Low == 0 ? pair.High : pair.Low;
      const long double allowed = std::max(decode(rounded + 0.5L) - decode(rounded),
                                           decode(rounded) - decode(rounded - 0.5L)) / 2;
      ASSERT_NEAR(double(mean), double(decode(level)), double(allowed) + 1e-15)
          << CurrentStandard << " " << level;
    }
}

TEST_F(PaintTest, UnknownStandardsBehaveAsGamma22) {
  CurrentStandard = Gamma22;
  std::vector<TDitherPair> gamma22;
  for (int level = 0; level < 256; ++level) gamma22.push_back(DitherPair(level));
  for (int standard : {-1, 14, 99}) {
    CurrentStandard = standard;
    EXPECT_NEAR(double(StandardEncode(0.5L)), 0.729740052841, 1e-11);
    for (int level = 0; level < 256; ++level)
      ASSERT_EQ(DitherPair(level), gamma22[level]) << standard << " " << level;
  }
}

TEST_F(PaintTest, DitherPairsStayWithinLevelsAndAroundTheirLevel) {
  for (CurrentStandard = 0; CurrentStandard < StandardCount; ++CurrentStandard)
    for (int level = 0; level < 256; ++level) {
      const TDitherPair pair = DitherPair(level);
      ASSERT_GE(pair.Low, 0) << CurrentStandard << " " << level;
      ASSERT_LE(pair.Low, level) << CurrentStandard << " " << level;
      ASSERT_GE(pair.High, level) << CurrentStandard << " " << level;
      ASSERT_LE(pair.High, 255) << CurrentStandard << " " << level;
    }
}

TEST(TargetStandardNames, AreTheSelectorTexts) {
  EXPECT_STREQ(TargetStandardNames[0], "sRGB IEC 61966-2-1");
  EXPECT_STREQ(TargetStandardNames[7], "BT.1886 0 nits / G 2.4");
  EXPECT_STREQ(TargetStandardNames[13], "ITU-R BT.709-6 Scene");
}

}  // namespace

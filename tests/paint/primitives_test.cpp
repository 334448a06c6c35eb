#include <gtest/gtest.h>

#include <vector>

#include "paint/primitives.h"
#include "paint/scaling.h"
#include "paint_setup.h"

namespace {

std::vector<TColor> Row(const TRasterCanvas& canvas, int y, int fromX, int toX) {
  std::vector<TColor> row;
  for (int x = fromX; x <= toX; ++x) row.push_back(canvas.Pixel(x, y));
  return row;
}

std::vector<TColor> Column(const TRasterCanvas& canvas, int x, int fromY, int toY) {
  std::vector<TColor> column;
  for (int y = fromY; y <= toY; ++y) column.push_back(canvas.Pixel(x, y));
  return column;
}

std::vector<TColor> Greys(std::vector<int> levels) {
  std::vector<TColor> colors;
  for (int level : levels) colors.push_back(Grey(level));
  return colors;
}

TEST_F(PaintTest, HorizontalGradientOver255ColumnsStepsOneLevelPerColumn) {
  TRasterCanvas canvas = BlankCanvas(300, 20);
  DrawHorizontalGradient(canvas, 10, 5, 255, 8, Black, White);
  for (int i = 0; i <= 255; ++i) {
    ASSERT_EQ(canvas.Pixel(10 + i, 5), Grey(i)) << i;
    ASSERT_EQ(canvas.Pixel(10 + i, 12), Grey(i)) << i;
    ASSERT_EQ(canvas.Pixel(10 + i, 13), Untouched) << i;  // the line's end point
  }
  EXPECT_EQ(canvas.Pixel(9, 5), Untouched);
  EXPECT_EQ(canvas.Pixel(266, 5), Untouched);
}

TEST_F(PaintTest, HorizontalGradientOver510ColumnsRoundsHalvesToEven) {
  TRasterCanvas canvas = BlankCanvas(520, 2);
  DrawHorizontalGradient(canvas, 0, 0, 510, 1, Black, White);
  EXPECT_EQ(Row(canvas, 0, 0, 5), Greys({0, 0, 1, 2, 2, 2}));
  EXPECT_EQ(Row(canvas, 0, 507, 511), (std::vector<TColor>{Grey(254), Grey(254), Grey(254),
                                                           Grey(255), Untouched}));
}

TEST_F(PaintTest, GradientsMixEachChannelOnItsOwn) {
  TRasterCanvas canvas = BlankCanvas(4, 4);
  DrawHorizontalGradient(canvas, 0, 0, 2, 1, RgbColor(255, 0, 10), RgbColor(0, 255, 13));
  EXPECT_EQ(Row(canvas, 0, 0, 2), (std::vector<TColor>{RgbColor(255, 0, 10),
                                                       RgbColor(128, 128, 12),
                                                       RgbColor(0, 255, 13)}));
}

TEST(GradientLevel, StepZeroIsTheStartEvenOverNoSteps) {
  EXPECT_EQ(GradientLevel(200, 10, 0, 0), 200);
  EXPECT_EQ(GradientLevel(245, 235, 1, 2), 240);
  EXPECT_EQ(GradientLevel(25, 0, 3, 10), 18);  // 17.5
  EXPECT_EQ(GradientLevel(25, 0, 1, 10), 22);  // 22.5
}

// The levels are rounded in integers; they must be what rounding the
// floating-point division gives, halves to even.
TEST(GradientLevel, EqualsRoundingTheFloatingPointDivision) {
  const int ends[][2] = {{0, 255}, {255, 0}, {38, 0}, {255, 200}, {225, 255}, {0, 24},
                         {245, 235}, {17, 7}, {200, 10}, {0, 0}};
  for (const auto& pair : ends)
    for (int steps = 1; steps <= 1100; ++steps)
      for (int step = 0; step <= steps; ++step) {
        const long double offset = (long double)(step * (pair[0] - pair[1])) / steps;
        const int expected = int(RoundHalfEven(pair[0] - offset) & 0xFF);
        ASSERT_EQ(GradientLevel(pair[0], pair[1], step, steps), expected)
            << pair[0] << ".." << pair[1] << " " << step << "/" << steps;
      }
}

TEST_F(PaintTest, VerticalGradientRunsFromTheTopRowToTheRowBelowTheHeight) {
  TRasterCanvas canvas = BlankCanvas(80, 1040);
  DrawVerticalGradient(canvas, 0, 0, 64, 1027, White, Black);
  EXPECT_EQ(Column(canvas, 0, 0, 3), Greys({255, 255, 255, 254}));
  EXPECT_EQ(Column(canvas, 63, 512, 514), Greys({128, 128, 127}));  // 127.87, 127.62, 127.37
  EXPECT_EQ(Column(canvas, 0, 1026, 1028), (std::vector<TColor>{Grey(0), Grey(0), Untouched}));
  EXPECT_EQ(canvas.Pixel(64, 0), Untouched);
}

TEST_F(PaintTest, RowStripesCoverTwoMoreRowsThanAnEvenHeight) {
  for (int height : {52, 53}) {
    TRasterCanvas canvas = BlankCanvas(12, 70);
    DrawRowStripes(canvas, 2, 3, 8, height, Grey(10), Grey(20));
    EXPECT_EQ(canvas.Pixel(2, 2), Untouched) << height;
    EXPECT_EQ(canvas.Pixel(2, 3), Grey(10)) << height;
    EXPECT_EQ(canvas.Pixel(9, 4), Grey(20)) << height;
    EXPECT_EQ(canvas.Pixel(5, 55), Grey(10)) << height;
    EXPECT_EQ(canvas.Pixel(5, 56), Grey(20)) << height;  // row 54 of the tile
    EXPECT_EQ(canvas.Pixel(5, 57), Untouched) << height;
    EXPECT_EQ(canvas.Pixel(10, 10), Untouched) << height;
    EXPECT_EQ(CountPixels(canvas, Grey(10)) + CountPixels(canvas, Grey(20)), 54 * 8) << height;
  }
}

TEST_F(PaintTest, ColumnStripesCoverTwoMoreColumnsThanAnEvenWidth) {
  TRasterCanvas canvas = BlankCanvas(64, 10);
  DrawColumnStripes(canvas, 1, 2, 52, 5, Grey(0), Grey(174));
  EXPECT_EQ(Row(canvas, 2, 0, 3), (std::vector<TColor>{Untouched, Grey(0), Grey(174), Grey(0)}));
  EXPECT_EQ(Row(canvas, 6, 52, 55), (std::vector<TColor>{Grey(174), Grey(0), Grey(174), Untouched}));
  EXPECT_EQ(canvas.Pixel(1, 7), Untouched);
}

TEST_F(PaintTest, StripesInOneColourMakeASolidBlock) {
  TRasterCanvas canvas = BlankCanvas(30, 30);
  DrawRowStripes(canvas, 0, 0, 20, 20, Grey(127), Grey(127));
  EXPECT_EQ(CountPixels(canvas, Grey(127)), 20 * 22);
}

TEST_F(PaintTest, TwelveGreySquaresRunFrom211To255LeftToRight) {
  TRasterCanvas canvas = BlankCanvas(420, 40);
  DrawGreySquares(canvas, 2, 3, 12, 30);
  std::vector<TColor> centres;
  for (int k = 0; k < 12; ++k) centres.push_back(canvas.Pixel(2 + 15 + 34 * k, 18));
  EXPECT_EQ(centres, Greys({211, 215, 219, 223, 227, 231, 235, 239, 243, 247, 251, 255}));
  EXPECT_EQ(Row(canvas, 3, 30, 37), (std::vector<TColor>{Grey(211), Grey(211), Untouched,
                                                         Untouched, Untouched, Untouched,
                                                         Grey(215), Grey(215)}));
  EXPECT_EQ(canvas.Pixel(2, 33), Untouched);
  EXPECT_EQ(canvas.Pixel(2 + 11 * 34 + 29, 32), Grey(255));
}

TEST_F(PaintTest, GreySquaresBeyond64WrapRoundTheLevels) {
  TRasterCanvas canvas = BlankCanvas(400, 4);
  DrawGreySquares(canvas, 0, 0, 65, 2);
  EXPECT_EQ(canvas.Pixel(0, 0), Grey(255));  // 255 - 256 taken modulo 256
  EXPECT_EQ(canvas.Pixel(6, 0), Grey(3));
}

// Highlights entering at 240 under sRGB: the strip runs from 245 to 235.
TEST_F(PaintTest, DitherGradientSetsTheLevelsPairAgainstTheGreyRow) {
  TRasterCanvas canvas = BlankCanvas(260, 30);
  DrawDitherGradient(canvas, 5, 2, 48, 20, 245, 235);
  // Grey behind, with the last level repeated one row below the height.
  EXPECT_EQ(Column(canvas, 5, 1, 24),
            (std::vector<TColor>{Untouched, Grey(245), Grey(244), Grey(244), Grey(244),
                                 Grey(243), Grey(242), Grey(242), Grey(242), Grey(241),
                                 Grey(240), Grey(240), Grey(240), Grey(239), Grey(238),
                                 Grey(238), Grey(238), Grey(237), Grey(236), Grey(236),
                                 Grey(236), Grey(235), Grey(235), Untouched}));
  EXPECT_EQ(canvas.Pixel(5 + 239, 10), Grey(241));
  EXPECT_EQ(canvas.Pixel(5 + 240, 10), Untouched);
  // DitherPair(245) is (234, 255); the red column starts half a column in.
  EXPECT_EQ(Row(canvas, 2, 5 + 23, 5 + 24), (std::vector<TColor>{Grey(245), RgbColor(234, 245, 245)}));
  EXPECT_EQ(canvas.Pixel(5 + 71, 3), RgbColor(255, 245, 245));
  EXPECT_EQ(canvas.Pixel(5 + 72, 3), Grey(244));
  EXPECT_EQ(Row(canvas, 2, 5 + 95, 5 + 96), (std::vector<TColor>{Grey(245), RgbColor(245, 234, 245)}));
  EXPECT_EQ(canvas.Pixel(5 + 143, 3), RgbColor(245, 255, 245));
  EXPECT_EQ(canvas.Pixel(5 + 168, 2), RgbColor(245, 245, 234));
  EXPECT_EQ(canvas.Pixel(5 + 215, 3), RgbColor(245, 245, 255));
  EXPECT_EQ(canvas.Pixel(5 + 216, 3), Grey(244));
  // Row pair 10 (rows 22 and 23) is level 235, DitherPair (212, 255).
  EXPECT_EQ(canvas.Pixel(5 + 24, 22), RgbColor(212, 235, 235));
  EXPECT_EQ(canvas.Pixel(5 + 24, 23), RgbColor(255, 235, 235));
}

TEST_F(PaintTest, DitherGradientUnderGamma22AtTheMiddle) {
  CurrentStandard = 1;
  TRasterCanvas canvas = BlankCanvas(60, 10);
  DrawDitherGradient(canvas, 0, 0, 10, 2, 127, 127);
  EXPECT_EQ(Column(canvas, 5, 0, 3), (std::vector<TColor>{RgbColor(0, 127, 127),
                                                          RgbColor(174, 127, 127),
                                                          RgbColor(0, 127, 127),
                                                          RgbColor(174, 127, 127)}));
  EXPECT_EQ(canvas.Pixel(5, 4), Untouched);
}

}  // namespace

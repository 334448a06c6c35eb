#include <gtest/gtest.h>

#include "paint/curve_graph.h"
#include "paint_setup.h"

namespace {

constexpr TColor Red = RgbColor(255, 0, 0), Green = RgbColor(0, 128, 0), Blue = RgbColor(0, 0, 255);
constexpr int X = 20, Y = 10;  // the graph's corner in these tests

void IdentityRamp() {
  for (int channel = 0; channel < 3; ++channel)
    for (int i = 0; i < LevelCount; ++i) WorkRamp[channel * LevelCount + i] = uint16_t(i * 256);
}

TRasterCanvas Graph(TColor background, bool showPoint, int patternHeight = 1027, int ppi = 96) {
  TRasterCanvas canvas = BlankCanvas(320, 300);
  DrawCurveGraph(canvas, X, Y, background, showPoint, patternHeight, ppi);
  return canvas;
}

TEST(GraphPpi, ShrinksTheGraphForLowPatternAreas) {
  EXPECT_EQ(GraphPpi(600, 96), 74);  // 73.85
  EXPECT_EQ(GraphPpi(667, 96), 82);  // 82.09
  EXPECT_EQ(GraphPpi(668, 96), 96);
  EXPECT_EQ(GraphPpi(1027, 96), 96);
  EXPECT_EQ(GraphPpi(445, 144), 144);  // scaled 667.5 rounds up to 668
  EXPECT_EQ(GraphPpi(444, 144), 55);   // scaled 666; 54.65
}

TEST_F(PaintTest, IdentityRampDrawsAllCurvesOnTheDiagonalBlueOnTop) {
  IdentityRamp();
  const TRasterCanvas canvas = Graph(Black, false);
  for (int i = 0; i <= 255; ++i) ASSERT_EQ(canvas.Pixel(X + i, Y + 255 - i), Blue) << i;
  EXPECT_EQ(CountPixels(canvas, Blue), 256);
  EXPECT_EQ(CountPixels(canvas, Red), 0);
  EXPECT_EQ(CountPixels(canvas, Green), 0);
  EXPECT_EQ(canvas.Pixel(X + 256, Y), Untouched);  // the last end point is left out
}

TEST_F(PaintTest, EachChannelDrawsItsOwnCurveEndingOneColumnPastTheGraph) {
  IdentityRamp();
  for (int i = 0; i < LevelCount; ++i) WorkRamp[i] = 0;                       // red: black
  for (int i = 0; i < LevelCount; ++i) WorkRamp[LevelCount + i] = 65535;      // green: white
  const TRasterCanvas canvas = Graph(Black, false);
  EXPECT_EQ(canvas.Pixel(X, Y + 255), Blue);
  for (int i = 1; i <= 255; ++i) ASSERT_EQ(canvas.Pixel(X + i, Y + 255), Red) << i;
  for (int i = 0; i <= 254; ++i) ASSERT_EQ(canvas.Pixel(X + i, Y), Green) << i;
  EXPECT_EQ(canvas.Pixel(X + 255, Y), Blue);
  EXPECT_EQ(canvas.Pixel(X + 256, Y + 255), Untouched);
}

TEST_F(PaintTest, GraphHasItsBackgroundGridAndFrame) {
  IdentityRamp();
  const TRasterCanvas canvas = Graph(Grey(56), false);
  EXPECT_EQ(canvas.Pixel(X + 10, Y + 20), Grey(56));
  EXPECT_EQ(canvas.Pixel(X + 254, Y + 254), Grey(56));
  EXPECT_EQ(canvas.Pixel(X + 256, Y + 1), Untouched);  // 256 wide, the frame on its last column
  EXPECT_EQ(canvas.Pixel(X + 10, Y + 256), Untouched);
  EXPECT_EQ(canvas.Pixel(X + 255, Y + 255), Grey(110));
  for (int g : {63, 127, 191}) {
    EXPECT_EQ(canvas.Pixel(X + g, Y + 20), Grey(71)) << g;
    EXPECT_EQ(canvas.Pixel(X + 20, Y + g), Grey(71)) << g;
    EXPECT_EQ(canvas.Pixel(X + g, Y + 255), Grey(110)) << g;
  }
  EXPECT_EQ(canvas.Pixel(X, Y + 1), Grey(110));
  EXPECT_EQ(canvas.Pixel(X + 255, Y + 100), Grey(110));
  EXPECT_EQ(canvas.Pixel(X + 255, Y), Blue);
  EXPECT_EQ(canvas.Pixel(X + 128, Y), Grey(110));
}

TEST_F(PaintTest, AxisWedgesRunFromBlackToWhiteUnderAndLeftOfTheGraph) {
  const TRasterCanvas canvas = Graph(Black, false);
  EXPECT_EQ(canvas.Pixel(X, Y + 261), Grey(0));
  EXPECT_EQ(canvas.Pixel(X + 200, Y + 266), Grey(200));
  EXPECT_EQ(canvas.Pixel(X + 200, Y + 260), Untouched);
  EXPECT_EQ(canvas.Pixel(X + 200, Y + 267), Untouched);
  EXPECT_EQ(canvas.Pixel(X - 4, Y + 255 - 30), Grey(30));
  EXPECT_EQ(canvas.Pixel(X - 9, Y + 0), Grey(255));
  EXPECT_EQ(canvas.Pixel(X - 10, Y + 0), Untouched);
  EXPECT_EQ(canvas.Pixel(X - 3, Y + 0), Untouched);
}

TEST_F(PaintTest, ReducedGraphWrapsTheWedgesTopLevelToBlack) {
  const TRasterCanvas canvas = Graph(Black, false, 600);
  // At 74 pixels per inch: S(255) = 197, S(260) = 200, S(266) = 205.
  EXPECT_EQ(canvas.Pixel(X + 196, Y + 205), Grey(254));
  EXPECT_EQ(canvas.Pixel(X + 197, Y + 205), Grey(0));  // 256 in the low 8 bits
  EXPECT_EQ(canvas.Pixel(X + 197, Y + 201), Grey(0));
  EXPECT_EQ(canvas.Pixel(X + 197, Y + 200), Untouched);
  EXPECT_EQ(canvas.Pixel(X - 4, Y), Grey(0));
  EXPECT_EQ(canvas.Pixel(X + 196, Y + 100), Black);
  EXPECT_EQ(canvas.Pixel(X + 197, Y + 1), Grey(110));  // S(256) is 197 as well
  EXPECT_EQ(canvas.Pixel(X + 198, Y + 1), Untouched);
}

TEST_F(PaintTest, PointTicksFollowTheFlagsInAColourAgainstTheBackground) {
  Curves[0].PointSet[0] = Curves[0].PointSet[100] = Curves[0].PointSet[255] = true;
  const TRasterCanvas onWhite = Graph(White, false);
  for (int v : {0, 100, 255}) {
    EXPECT_EQ(onWhite.Pixel(X + v, Y + 257), Black) << v;
    EXPECT_EQ(onWhite.Pixel(X + v, Y + 258), Black) << v;
    EXPECT_EQ(onWhite.Pixel(X + v, Y + 259), Untouched) << v;
  }
  EXPECT_EQ(onWhite.Pixel(X + 101, Y + 257), Untouched);
  EXPECT_EQ(Graph(Grey(190), false).Pixel(X + 100, Y + 257), Black);
  EXPECT_EQ(Graph(Grey(128), false).Pixel(X + 100, Y + 257), White);  // 0x808080 is not above
  EXPECT_EQ(Graph(Grey(56), false).Pixel(X + 100, Y + 257), White);
  EXPECT_EQ(Graph(Grey(1), false).Pixel(X + 100, Y + 257), White);
}

TEST_F(PaintTest, WithoutAnEditedRecordThereAreNoTicks) {
  Curves.clear();
  const TRasterCanvas canvas = Graph(Black, false);
  EXPECT_EQ(canvas.Pixel(X, Y + 257), Untouched);
}

TEST_F(PaintTest, PointLineMarksTheEditedLevelInsideTheFrame) {
  IdentityRamp();
  CurrentPoint = 100;
  const TRasterCanvas canvas = Graph(Black, true);
  EXPECT_EQ(canvas.Pixel(X + 100, Y), Grey(110));
  EXPECT_EQ(canvas.Pixel(X + 100, Y + 1), Grey(140));
  EXPECT_EQ(canvas.Pixel(X + 100, Y + 127), Grey(140));  // over the grid
  EXPECT_EQ(canvas.Pixel(X + 100, Y + 155), Blue);       // under the curves
  EXPECT_EQ(canvas.Pixel(X + 100, Y + 254), Grey(140));
  EXPECT_EQ(canvas.Pixel(X + 100, Y + 255), Grey(110));
  EXPECT_EQ(Graph(Black, false).Pixel(X + 100, Y + 10), Black);
}

TEST_F(PaintTest, GraphScalesWithThePixelsPerInch) {
  IdentityRamp();
  TRasterCanvas canvas = BlankCanvas(460, 440);
  DrawCurveGraph(canvas, X, Y, Black, false, 2080, 144);
  EXPECT_EQ(canvas.Pixel(X + 383, Y), Blue);             // S(255) = 383
  EXPECT_EQ(canvas.Pixel(X + 191, Y + 1), Grey(71));     // S(127) = 191
  EXPECT_EQ(canvas.Pixel(X + 383, Y + 1), Grey(110));
  EXPECT_EQ(canvas.Pixel(X + 384, Y + 1), Untouched);    // S(256) = 384
  EXPECT_EQ(canvas.Pixel(X + 100, Y + 399), Grey(67));   // S(266) = 399; 100 x 96 / 144 = 66.7
  EXPECT_EQ(canvas.Pixel(X + 100, Y + 390), Untouched);  // S(260) = 390
}

}  // namespace

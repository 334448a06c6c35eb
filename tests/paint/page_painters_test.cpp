// The page painters on a 1920 x 1080 display at 96 pixels per inch, where the
// pattern area of 1027 rows selects the large variants and 719 the small ones.
#include <gtest/gtest.h>

#include "paint/page_painters.h"
#include "paint_setup.h"

namespace {

constexpr int Ppi = 96, Large = 1027, Small = 719, Width = 1920;

TRasterCanvas Canvas1080(TTextRenderer* text = nullptr) { return BlankCanvas(1920, 1080, text); }

int RowsOf(const TRasterCanvas& canvas, int x, TColor color) {
  int rows = 0;
  for (int y = 0; y < canvas.Height(); ++y) rows += canvas.Pixel(x, y) == color;
  return rows;
}

TEST_F(PaintTest, BlackPointShowsNineLabelledSquaresFromLevelOne) {
  RecordingText text;
  TRasterCanvas canvas = Canvas1080(&text);
  PaintBlackPointPage(canvas, Ppi);
  for (int i = 0; i < 9; ++i) {
    const int left = 520 + 100 * i;
    EXPECT_EQ(canvas.Pixel(left, 500), Grey(i + 1)) << i;
    EXPECT_EQ(canvas.Pixel(left + 79, 579), Grey(i + 1)) << i;
    EXPECT_EQ(canvas.Pixel(left + 80, 500), Untouched) << i;
    EXPECT_EQ(canvas.Pixel(left, 580), Untouched) << i;
    EXPECT_EQ(canvas.Pixel(left + 20, 470), Black) << i;     // the label's opaque cell
    EXPECT_EQ(canvas.Pixel(left + 21, 470), Grey(80)) << i;  // its ink
  }
  ASSERT_EQ(text.Calls.size(), 9u);
  EXPECT_EQ(text.Calls[0].Text, "(1,1,1)");
  EXPECT_EQ(text.Calls[8].Text, "(9,9,9)");
}

TEST_F(PaintTest, WhitePointShowsLevels246To254OnWhiteLabels) {
  RecordingText text;
  TRasterCanvas canvas = Canvas1080(&text);
  PaintWhitePointPage(canvas, Ppi);
  EXPECT_EQ(canvas.Pixel(520, 500), Grey(246));
  EXPECT_EQ(canvas.Pixel(1320, 500), Grey(254));
  EXPECT_EQ(canvas.Pixel(524, 470), White);
  EXPECT_EQ(canvas.Pixel(525, 470), Grey(180));
  ASSERT_EQ(text.Calls.size(), 9u);
  EXPECT_EQ(text.Calls[0].Text, "(246,246,246)");
  EXPECT_EQ(text.Calls[8].Text, "(254,254,254)");
}

TEST_F(PaintTest, LabelsAndSquaresScaleWithThePixelsPerInch) {
  UseDisplay(TRect{0, 0, 3840, 2160});
  RecordingText text;
  TRasterCanvas canvas = BlankCanvas(3840, 2160, &text);
  PaintBlackPointPage(canvas, 144);
  // x0 = 1920 - 660, y0 = 1080 - 60; squares 120 wide every 150.
  EXPECT_EQ(canvas.Pixel(1260, 1020), Grey(1));
  EXPECT_EQ(canvas.Pixel(1379, 1139), Grey(1));
  EXPECT_EQ(canvas.Pixel(1380, 1020), Untouched);
  EXPECT_EQ(canvas.Pixel(1410, 1020), Grey(2));
  EXPECT_EQ(canvas.Pixel(1290, 975), Black);  // label at left + 30, y0 - 45
}

TEST_F(PaintTest, GammaPageSetsReferenceSquaresBesideTheStrip) {
  TRasterCanvas canvas = Canvas1080();
  PaintGammaPage(canvas, Ppi, Large);
  EXPECT_EQ(canvas.Pixel(1136, 476), Grey(56));
  EXPECT_EQ(canvas.Pixel(1263, 603), Grey(56));
  EXPECT_EQ(canvas.Pixel(1264, 476), Untouched);
  EXPECT_EQ(canvas.Pixel(1296, 476), Grey(250));
  EXPECT_EQ(canvas.Pixel(656, 540), Grey(56));
  EXPECT_EQ(canvas.Pixel(496, 540), Grey(16));
  EXPECT_EQ(canvas.Pixel(623, 603), Grey(16));
  EXPECT_EQ(canvas.Pixel(810, 540), Grey(100));   // the line, left of the strip
  EXPECT_EQ(canvas.Pixel(1109, 540), Grey(100));
  EXPECT_EQ(canvas.Pixel(1110, 540), Untouched);
  EXPECT_EQ(canvas.Pixel(830, 412), Grey(200));   // strip of 256 rows, 200 down to 10
  EXPECT_EQ(canvas.Pixel(830, 668), Grey(10));
  EXPECT_EQ(canvas.Pixel(830, 669), Grey(10));
  EXPECT_EQ(canvas.Pixel(830, 670), Untouched);
  EXPECT_EQ(canvas.Pixel(1089, 540), canvas.Pixel(830, 540));
  EXPECT_EQ(canvas.Pixel(1090, 540), Grey(100));
}

TEST_F(PaintTest, GammaStripShortensBelow720ScaledRows) {
  TRasterCanvas canvas = Canvas1080();
  PaintGammaPage(canvas, Ppi, Small);
  EXPECT_EQ(canvas.Pixel(830, 441), Untouched);
  EXPECT_EQ(canvas.Pixel(830, 442), Grey(200));
  EXPECT_EQ(canvas.Pixel(830, 639), Grey(10));
  EXPECT_EQ(canvas.Pixel(830, 640), Untouched);
}

TEST_F(PaintTest, SharpTilesAlternateTheDitherPairOnTheLevelsBlock) {
  CurrentStandard = 1;  // Gamma 2.2: 127 pairs 0 with 174
  TRasterCanvas canvas = Canvas1080();
  PaintSharpPage(canvas, Ppi, Large, 127);
  EXPECT_EQ(canvas.Pixel(750, 410), Grey(127));  // block 420 x 260 (262 rows)
  EXPECT_EQ(canvas.Pixel(1169, 671), Grey(127));
  EXPECT_EQ(canvas.Pixel(749, 410), Untouched);
  EXPECT_EQ(canvas.Pixel(1170, 410), Untouched);
  EXPECT_EQ(canvas.Pixel(750, 672), Untouched);
  // Top-left tile: vertical lines; its right neighbour: horizontal lines.
  EXPECT_EQ(canvas.Pixel(770, 430), Grey(0));
  EXPECT_EQ(canvas.Pixel(771, 430), Grey(174));
  EXPECT_EQ(canvas.Pixel(831, 489), Grey(174));
  EXPECT_EQ(canvas.Pixel(832, 430), Grey(127));
  EXPECT_EQ(canvas.Pixel(850, 430), Grey(0));
  EXPECT_EQ(canvas.Pixel(850, 431), Grey(174));
  EXPECT_EQ(canvas.Pixel(851, 430), Grey(0));
  EXPECT_EQ(canvas.Pixel(770, 510), Grey(0));    // second row starts with horizontal lines
  EXPECT_EQ(canvas.Pixel(771, 510), Grey(0));
  EXPECT_EQ(canvas.Pixel(770, 511), Grey(174));
  EXPECT_EQ(canvas.Pixel(1090, 590), Grey(0));   // bottom-right tile: vertical again
  EXPECT_EQ(canvas.Pixel(1091, 590), Grey(174));
}

TEST_F(PaintTest, SharpBlockIs320By196Below720ScaledRows) {
  TRasterCanvas canvas = Canvas1080();
  PaintSharpPage(canvas, Ppi, Small, 127);
  EXPECT_EQ(canvas.Pixel(800, 442), Grey(127));
  EXPECT_EQ(canvas.Pixel(1119, 639), Grey(127));
  EXPECT_EQ(canvas.Pixel(799, 442), Untouched);
  EXPECT_EQ(canvas.Pixel(1120, 442), Untouched);
  EXPECT_EQ(canvas.Pixel(800, 640), Untouched);
  EXPECT_EQ(canvas.Pixel(810, 452), Grey(0));    // first tile at g = 10
  EXPECT_EQ(canvas.Pixel(811, 452), Grey(174));  // sRGB pairs 127 with 174
}

TEST_F(PaintTest, PointsPageSetsGreyAndColourTilesAroundTheLevel) {
  TRasterCanvas canvas = Canvas1080();
  PaintPointsPage(canvas, Ppi, Large, 127);
  EXPECT_EQ(canvas.Pixel(529, 540), Grey(100));
  EXPECT_EQ(canvas.Pixel(528, 540), Untouched);
  EXPECT_EQ(canvas.Pixel(710, 540), Grey(100));
  EXPECT_EQ(canvas.Pixel(1390, 540), Grey(100));
  EXPECT_EQ(canvas.Pixel(1391, 540), Untouched);
  EXPECT_EQ(canvas.Pixel(720, 430), Grey(127));   // block 480 x 220 (222 rows)
  EXPECT_EQ(canvas.Pixel(1199, 651), Grey(127));
  EXPECT_EQ(canvas.Pixel(1199, 652), Untouched);
  for (int y : {440, 510, 580}) {
    EXPECT_EQ(canvas.Pixel(1110, y), Grey(0)) << y;
    EXPECT_EQ(canvas.Pixel(1169, y + 1), Grey(174)) << y;
    EXPECT_EQ(canvas.Pixel(1170, y), Grey(127)) << y;
  }
  EXPECT_EQ(canvas.Pixel(750, 440), RgbColor(0, 127, 127));
  EXPECT_EQ(canvas.Pixel(750, 441), RgbColor(174, 127, 127));
  EXPECT_EQ(canvas.Pixel(809, 511), RgbColor(127, 174, 127));
  EXPECT_EQ(canvas.Pixel(750, 580), RgbColor(127, 127, 0));
  EXPECT_EQ(canvas.Pixel(750, 641), RgbColor(127, 127, 174));
  // The neighbourhood strip: 167 at the top to 87 at the bottom.
  EXPECT_EQ(canvas.Pixel(840, 430), Grey(167));
  EXPECT_EQ(canvas.Pixel(864, 430), RgbColor(0, 167, 167));
  EXPECT_EQ(canvas.Pixel(840, 650), Grey(87));
  EXPECT_EQ(canvas.Pixel(840, 651), Grey(87));
  // Grey squares under the block, 211 to 255.
  EXPECT_EQ(canvas.Pixel(758, 670), Grey(211));
  EXPECT_EQ(canvas.Pixel(1161, 699), Grey(255));
  EXPECT_EQ(canvas.Pixel(758, 700), Untouched);
  // The side strips: black at the top on the left, white on the right.
  EXPECT_EQ(canvas.Pixel(549, 412), Grey(0));
  EXPECT_EQ(canvas.Pixel(549, 669), Grey(255));
  EXPECT_EQ(canvas.Pixel(698, 412), Grey(0));
  EXPECT_EQ(canvas.Pixel(699, 412), Untouched);
  EXPECT_EQ(canvas.Pixel(1220, 412), Grey(255));
  EXPECT_EQ(canvas.Pixel(1369, 669), Grey(0));
}

TEST_F(PaintTest, PointsBlockIs480By196Below720ScaledRows) {
  TRasterCanvas canvas = Canvas1080();
  PaintPointsPage(canvas, Ppi, Small, 127);
  EXPECT_EQ(canvas.Pixel(720, 442), Grey(127));
  EXPECT_EQ(canvas.Pixel(1199, 639), Grey(127));
  EXPECT_EQ(canvas.Pixel(1199, 640), Untouched);
  EXPECT_EQ(canvas.Pixel(1120, 452), Grey(127));
  EXPECT_EQ(canvas.Pixel(1121, 452), Grey(0));   // grey tiles of 53 at x0 + 480 - 53 - 26
  EXPECT_EQ(canvas.Pixel(1173, 452), Grey(0));
  EXPECT_EQ(canvas.Pixel(1174, 452), Grey(127));
  EXPECT_EQ(canvas.Pixel(758, 648), Grey(211));  // squares 10 below
  EXPECT_EQ(canvas.Pixel(758, 647), Untouched);
}

TEST_F(PaintTest, GraysSideSquaresStaySixteenAwayWithinTheLevels) {
  const struct {
    int Level;
    TColor Left, Right;
  } cases[] = {{10, Grey(1), Grey(26)}, {100, Grey(84), Grey(116)}, {239, Grey(223), Grey(255)},
               {245, Grey(229), Grey(254)}};
  for (const auto& c : cases) {
    TRasterCanvas canvas = Canvas1080();
    PaintGraysPage(canvas, Ppi, Large, c.Level);
    EXPECT_EQ(canvas.Pixel(496, 476), c.Left) << c.Level;
    EXPECT_EQ(canvas.Pixel(623, 603), c.Left) << c.Level;
    EXPECT_EQ(canvas.Pixel(1296, 476), c.Right) << c.Level;
    EXPECT_EQ(canvas.Pixel(1424, 476), Untouched) << c.Level;
    EXPECT_EQ(canvas.Pixel(700, 540), Grey(c.Level)) << c.Level;
  }
}

TEST_F(PaintTest, GraysCentreRectangleGrowsWithThePatternArea) {
  const struct {
    int PatternHeight, Rows;
  } cases[] = {{779, 200}, {780, 440}, {1080, 440}, {1081, 880}};
  for (const auto& c : cases) {
    TRasterCanvas canvas = Canvas1080();
    PaintGraysPage(canvas, Ppi, c.PatternHeight, 100);
    EXPECT_EQ(RowsOf(canvas, 640, Grey(100)), c.Rows) << c.PatternHeight;
    EXPECT_EQ(canvas.Pixel(640, 540 - c.Rows / 2), Grey(100)) << c.PatternHeight;
    EXPECT_EQ(canvas.Pixel(1280, 540), Untouched) << c.PatternHeight;
  }
}

TEST_F(PaintTest, GraysCentreRectangleIs880RowsAbove1080WhateverTheDpi) {
  UseDisplay(TRect{0, 0, 3840, 2160});
  TRasterCanvas canvas = BlankCanvas(3840, 2160);
  PaintGraysPage(canvas, 144, 2080, 100);
  EXPECT_EQ(RowsOf(canvas, 1920 - 480, Grey(100)), 880);
  EXPECT_EQ(canvas.Pixel(1440, 640), Grey(100));
}

TEST_F(PaintTest, GraysTilesMixEveryChannelOverTwoRows) {
  TRasterCanvas canvas = Canvas1080();
  PaintGraysPage(canvas, Ppi, Large, 127);  // sRGB: 0 and 174
  EXPECT_EQ(canvas.Pixel(968, 548), Grey(0));
  EXPECT_EQ(canvas.Pixel(968, 549), Grey(174));
  EXPECT_EQ(canvas.Pixel(1047, 629), Grey(174));
  EXPECT_EQ(canvas.Pixel(1048, 548), Grey(127));
  EXPECT_EQ(canvas.Pixel(872, 548), RgbColor(0, 174, 174));
  EXPECT_EQ(canvas.Pixel(872, 549), RgbColor(174, 0, 0));
  EXPECT_EQ(canvas.Pixel(872, 452), RgbColor(174, 0, 174));
  EXPECT_EQ(canvas.Pixel(872, 453), RgbColor(0, 174, 0));
  EXPECT_EQ(canvas.Pixel(968, 452), RgbColor(174, 174, 0));
  EXPECT_EQ(canvas.Pixel(968, 453), RgbColor(0, 0, 174));
}

TEST_F(PaintTest, ColorBalanceSetsBandsAgainstTheWideGradient) {
  TRasterCanvas canvas = Canvas1080();
  PaintColorBalancePage(canvas, Ppi, Width, Large);
  EXPECT_EQ(canvas.Pixel(32, 412), Black);
  EXPECT_EQ(canvas.Pixel(1888, 667), White);
  EXPECT_EQ(canvas.Pixel(1825, 476), Grey(246));
  EXPECT_EQ(canvas.Pixel(1889, 412), Untouched);
  EXPECT_EQ(canvas.Pixel(32, 668), Untouched);
  EXPECT_EQ(canvas.Pixel(96, 540), Grey(38));     // dark band below the middle
  EXPECT_EQ(canvas.Pixel(960, 603), Black);
  EXPECT_EQ(canvas.Pixel(960, 476), White);       // light band above it
  EXPECT_EQ(canvas.Pixel(1824, 539), Grey(200));
  EXPECT_EQ(canvas.Pixel(1824, 540), canvas.Pixel(1824, 412));
}

TEST_F(PaintTest, HighlightsMarkerStandsMidwayOnEntering) {
  TRasterCanvas canvas = Canvas1080();
  PaintHighlightsPage(canvas, Ppi, Width, Large, 240);
  EXPECT_EQ(canvas.Pixel(960, 403), Untouched);
  EXPECT_EQ(canvas.Pixel(960, 404), Black);
  EXPECT_EQ(canvas.Pixel(960, 675), Black);
  EXPECT_EQ(canvas.Pixel(960, 676), Untouched);
  EXPECT_EQ(canvas.Pixel(32, 412), Grey(225));
  EXPECT_EQ(canvas.Pixel(1888, 412), Grey(255));
  EXPECT_EQ(canvas.Pixel(840, 437), Grey(245));   // strip from 245 ...
  EXPECT_EQ(canvas.Pixel(840, 643), Grey(235));   // ... to 235
  EXPECT_EQ(canvas.Pixel(840, 645), canvas.Pixel(840, 412));
}

TEST_F(PaintTest, ShadowsAndGradientMarkersFollowThePoint) {
  TRasterCanvas shadows = Canvas1080();
  PaintShadowsPage(shadows, Ppi, Width, Large, 12);
  EXPECT_EQ(shadows.Pixel(960, 404), White);
  EXPECT_EQ(shadows.Pixel(1888, 412), Grey(24));
  EXPECT_EQ(shadows.Pixel(840, 437), Grey(17));
  EXPECT_EQ(shadows.Pixel(840, 643), Grey(7));

  TRasterCanvas gradient = Canvas1080();
  PaintGradientPage(gradient, Ppi, Width, Large, 5);
  EXPECT_EQ(gradient.Pixel(68, 404), White);  // 32 + Round(1856 x 5 / 255)
  EXPECT_EQ(gradient.Pixel(840, 437), Grey(25));
  EXPECT_EQ(gradient.Pixel(840, 643), Grey(0));
}

TEST_F(PaintTest, MarkerOfALevelOutsideTheRangeLeavesTheWindow) {
  TRasterCanvas canvas = Canvas1080();
  PaintHighlightsPage(canvas, Ppi, Width, Large, 100);
  for (int x = 0; x < 1920; ++x) ASSERT_EQ(canvas.Pixel(x, 404), Untouched) << x;
  TRasterCanvas shadows = Canvas1080();
  PaintShadowsPage(shadows, Ppi, Width, Large, 25);
  for (int x = 0; x < 1920; ++x) ASSERT_EQ(shadows.Pixel(x, 404), Untouched) << x;  // at 1965
  EXPECT_EQ(shadows.Pixel(840, 437), Grey(30));
}

TEST_F(PaintTest, MarkedGradientsShrinkBelow720ScaledRows) {
  TRasterCanvas canvas = Canvas1080();
  PaintHighlightsPage(canvas, Ppi, Width, Small, 240);
  EXPECT_EQ(canvas.Pixel(960, 434), Black);       // y0 = 540 - 98, marker from y0 - 8
  EXPECT_EQ(canvas.Pixel(960, 433), Untouched);
  EXPECT_EQ(canvas.Pixel(32, 442), Grey(225));
  EXPECT_EQ(canvas.Pixel(32, 637), Grey(225));
  EXPECT_EQ(canvas.Pixel(32, 638), Untouched);
}

}  // namespace

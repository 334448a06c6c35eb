#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "paint/block_font.h"
#include "paint_setup.h"

namespace {

constexpr TColor Pen = RgbColor(200, 100, 50);

using TPoints = std::vector<std::pair<int, int>>;

TPoints PenPixels(const TRasterCanvas& canvas) {
  TPoints points;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x)
      if (canvas.Pixel(x, y) == Pen) points.push_back({x, y});
  return points;
}

TPoints Line(int x1, int y1, int x2, int y2, int size = 8) {
  TRasterCanvas canvas = BlankCanvas(size, size);
  canvas.SetPenColor(Pen);
  DrawLine(canvas, x1, y1, x2, y2);
  return PenPixels(canvas);
}

TEST(TRasterCanvas, StraightLinesLeaveOutTheirEndPointInEitherDirection) {
  EXPECT_EQ(Line(1, 2, 4, 2), (TPoints{{1, 2}, {2, 2}, {3, 2}}));
  EXPECT_EQ(Line(4, 2, 1, 2), (TPoints{{2, 2}, {3, 2}, {4, 2}}));
  EXPECT_EQ(Line(3, 1, 3, 4), (TPoints{{3, 1}, {3, 2}, {3, 3}}));
  EXPECT_EQ(Line(3, 4, 3, 1), (TPoints{{3, 2}, {3, 3}, {3, 4}}));
  EXPECT_EQ(Line(2, 2, 2, 2), TPoints{});
}

TEST(TRasterCanvas, SlopedLinesStepOnePixelAlongTheMajorAxis) {
  EXPECT_EQ(Line(0, 0, 4, 4), (TPoints{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
  EXPECT_EQ(Line(0, 4, 3, 1), (TPoints{{2, 2}, {1, 3}, {0, 4}}));
  EXPECT_EQ(Line(0, 0, 6, 2), (TPoints{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}));
  EXPECT_EQ(Line(1, 0, 2, 5), (TPoints{{1, 0}, {1, 1}, {1, 2}, {2, 3}, {2, 4}}));
}

TEST(TRasterCanvas, SlopedLineExactlyBetweenTwoPixelsTakesTheStartSide) {
  EXPECT_EQ(Line(0, 0, 4, 2), (TPoints{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
  EXPECT_EQ(Line(4, 2, 0, 0), (TPoints{{1, 1}, {2, 1}, {3, 2}, {4, 2}}));
}

TEST(TRasterCanvas, LinesEndWhereTheNextOneStarts) {
  TRasterCanvas canvas = BlankCanvas(8, 8);
  canvas.SetPenColor(Pen);
  canvas.MoveTo(1, 1);
  canvas.LineTo(4, 1);
  canvas.LineTo(4, 3);
  EXPECT_EQ(PenPixels(canvas), (TPoints{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 2}}));
}

TEST(TRasterCanvas, LinesAndFillsAreClippedToTheSurface) {
  TRasterCanvas canvas = BlankCanvas(4, 4);
  canvas.SetPenColor(Pen);
  DrawLine(canvas, -100, 1, 100, 1);
  DrawLine(canvas, 2, -50, 2, 50);
  DrawLine(canvas, -3, -3, 9, 9);
  DrawLine(canvas, -100, 9, 100, 9);
  EXPECT_EQ(PenPixels(canvas), (TPoints{{0, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {2, 2},
                                        {2, 3}, {3, 3}}));
  canvas.SetBrushColor(Pen);
  canvas.FillRect(TRect{-10, -10, 100, 100});
  EXPECT_EQ(CountPixels(canvas, Pen), 16);
}

TEST(TRasterCanvas, FillLeavesOutRightAndBottomEdges) {
  TRasterCanvas canvas = BlankCanvas(6, 6);
  canvas.SetBrushColor(Pen);
  canvas.FillRect(TRect{1, 2, 4, 4});
  EXPECT_EQ(PenPixels(canvas), (TPoints{{1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}));
  canvas.FillRect(TRect{5, 5, 3, 3});  // inverted: nothing
  canvas.FillRect(TRect{2, 0, 2, 6});  // empty
  EXPECT_EQ(CountPixels(canvas, Pen), 6);
}

TEST(TRasterCanvas, TextFillsItsCellWithTheBrushAndInksWithTheFontColour) {
  RecordingText text;
  TRasterCanvas canvas = BlankCanvas(8, 4, &text);
  canvas.SetFont(TFont{"Tahoma", -17});
  canvas.SetBrushColor(Black);
  canvas.SetFontColor(Grey(80));
  canvas.TextOut(6, 2, "(1,1,1)");
  canvas.TextOut(-1, 0, "cut");
  ASSERT_EQ(text.Calls.size(), 2u);
  EXPECT_EQ(text.Calls[0].Text, "(1,1,1)");
  EXPECT_EQ(text.Calls[0].Font, (TFont{"Tahoma", -17}));
  EXPECT_EQ(canvas.Pixel(6, 2), Black);
  EXPECT_EQ(canvas.Pixel(7, 2), Grey(80));
  EXPECT_EQ(canvas.Pixel(0, 0), Grey(80));
  EXPECT_EQ(canvas.Pixel(1, 0), Untouched);
}

TEST(TRasterCanvas, WithoutATextRendererTextDrawsNothing) {
  TRasterCanvas canvas = BlankCanvas(4, 4);
  canvas.TextOut(0, 0, "x");
  EXPECT_EQ(CountPixels(canvas, Untouched), 16);
}

TEST(TRasterCanvas, BitmapsDrawRgbAndGreyPixelsAtTheirOwnSizeClipped) {
  TRasterCanvas canvas = BlankCanvas(4, 3);
  const TBitmap rgb{2, 2, 24, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}};
  canvas.Draw(-1, 1, rgb);
  EXPECT_EQ(canvas.Pixel(0, 1), RgbColor(40, 50, 60));
  EXPECT_EQ(canvas.Pixel(0, 2), RgbColor(100, 110, 120));
  EXPECT_EQ(canvas.Pixel(1, 1), Untouched);
  canvas.Draw(2, 0, TBitmap{2, 1, 8, {7, 9}});
  EXPECT_EQ(canvas.Pixel(2, 0), Grey(7));
  EXPECT_EQ(canvas.Pixel(3, 0), Grey(9));
  canvas.Draw(0, 0, TBitmap{1, 1, 32, {1, 2, 3, 4}});  // unsupported depth
  canvas.Draw(0, 0, TBitmap{2, 2, 24, {1, 2, 3}});     // too few bits
  EXPECT_EQ(canvas.Pixel(0, 0), Untouched);
}

TEST(TRasterCanvas, VerticalLinesAtOnceDrawWhatTheyDrawOneByOne) {
  const std::vector<TColor> colors = {Grey(1), Grey(2), Grey(3), Grey(4), Grey(5)};
  for (int height : {3, -3, 0, 20, -20})
    for (int x : {-2, 0, 4}) {
      TRasterCanvas atOnce = BlankCanvas(7, 6), oneByOne = BlankCanvas(7, 6);
      atOnce.DrawVerticalLines(x, 2, height, colors);
      oneByOne.TCanvas::DrawVerticalLines(x, 2, height, colors);
      // The pen stays at the last line's end in its colour.
      atOnce.LineTo(0, 5);
      oneByOne.LineTo(0, 5);
      ASSERT_TRUE(std::ranges::equal(atOnce.Pixels(), oneByOne.Pixels())) << height << " " << x;
    }
}

TEST(TRasterCanvas, AnXrgbCanvasHoldsTheSamePictureInTheXServersLayout) {
  TBlockFont font;
  TRasterCanvas colors(12, 12, &font), xrgb(12, 12, &font, TPixelLayout::Xrgb);
  for (TCanvas* canvas : {static_cast<TCanvas*>(&colors), static_cast<TCanvas*>(&xrgb)}) {
    FillRectangle(*canvas, 1, 1, 6, 6, RgbColor(10, 20, 30));
    canvas->SetPenColor(Pen);
    DrawLine(*canvas, 0, 11, 11, 0);
    canvas->DrawVerticalLines(7, 2, 5, {RgbColor(1, 2, 3), RgbColor(4, 5, 6)});
    canvas->SetFontColor(White);
    canvas->TextOut(2, 7, "1");
    canvas->Draw(9, 9, TBitmap{2, 1, 24, {7, 8, 9, 250, 251, 252}});
  }
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(xrgb.Pixel(x, y), colors.Pixel(x, y)) << x << "," << y;
  EXPECT_EQ(xrgb.Pixels()[1 * 12 + 1], 0x000A141Eu);
  EXPECT_EQ(xrgb.Pixels()[11 * 12 + 11], 0u);  // the new canvas's black
  EXPECT_EQ(xrgb.PixelValue(RgbColor(1, 2, 3)), 0x00010203u);
}

TEST(TBlockFont, CellsAreSixEleventhsAsWideAsTheFontIsHigh) {
  TBlockFont font;
  const TTextImage at96 = font.RenderText("(1,1,1)", TFont{"Tahoma", -11});
  EXPECT_EQ(at96.Width, 42);
  EXPECT_EQ(at96.Height, 11);
  const TTextImage at144 = font.RenderText("12", TFont{"Tahoma", -17});
  EXPECT_EQ(at144.Width, 18);
  EXPECT_EQ(at144.Height, 17);
}

TEST(TBlockFont, DrawsTheDigitOneAsAStemWithFootAndFlag) {
  TBlockFont font;
  const TTextImage image = font.RenderText("1", TFont{"Tahoma", 11});
  std::vector<std::string> rows;
  for (int y = 0; y < image.Height; ++y) {
    std::string row;
    for (int x = 0; x < image.Width; ++x) row += image.Coverage[y * image.Width + x] ? '#' : '.';
    rows.push_back(row);
  }
  EXPECT_EQ(rows, (std::vector<std::string>{"......", "......", "..#...", ".##...", "..#...",
                                            "..#...", "..#...", "..#...", ".###..", "......",
                                            "......"}));
}

TEST(TBlockFont, UnknownCharactersShowAsABox) {
  TBlockFont font;
  const TTextImage image = font.RenderText("A", TFont{"Tahoma", -11});
  EXPECT_EQ(image.Coverage[2 * 6 + 0], 255);  // top-left corner of the box
  EXPECT_EQ(image.Coverage[5 * 6 + 2], 0);    // its hollow middle
}

}  // namespace

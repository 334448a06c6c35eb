#include <gtest/gtest.h>

#include "paint/page_pattern.h"
#include "paint_setup.h"

namespace {

constexpr int Ppi = 96, PatternHeight = 1027, Width = 1920;
constexpr int GraphX = 832, GraphY = 8;  // CenteredLeft(256), Scale(8)

TRasterCanvas PaintPage(int page) {
  CurrentPage = page;
  TRasterCanvas canvas = BlankCanvas(1920, 1080);
  PaintPagePattern(canvas, Ppi, Width, nullptr, nullptr, PatternHeight);
  return canvas;
}

TEST_F(PaintTest, WelcomePageAndUnknownPagesDrawNothing) {
  for (int page : {0, -1, 13, 1000})
    EXPECT_EQ(CountPixels(PaintPage(page), Untouched), 1920 * 1080) << page;
}

TEST_F(PaintTest, GraphShowsOnPagesOneToElevenOnly) {
  for (int page = 0; page < PageCount; ++page) {
    const bool graph = page >= 1 && page <= 11;
    EXPECT_EQ(PaintPage(page).Pixel(GraphX, GraphY) == Grey(110), graph) << page;
  }
}

TEST_F(PaintTest, PagesPickTheirGraphBackgroundAndPointLine) {
  const struct {
    int Page;
    TColor Background;
    bool PointLine;
  } pages[] = {{1, Black, false},     {2, White, false},      {3, Black, false},
               {4, Black, true},      {5, Grey(56), false},   {6, Black, true},
               {7, Black, true},      {8, Grey(190), true},   {9, Grey(200), true},
               {10, Grey(1), true},   {11, Grey(25), true}};
  for (const auto& p : pages) {
    const TRasterCanvas canvas = PaintPage(p.Page);
    EXPECT_EQ(canvas.Pixel(GraphX + 10, GraphY + 20), p.Background) << p.Page;
    EXPECT_EQ(canvas.Pixel(GraphX + 127, GraphY + 20),
              p.PointLine ? Grey(140) : Grey(71)) << p.Page;
  }
}

TEST_F(PaintTest, PointTicksAreBlackOnLightGraphsAndWhiteElsewhere) {
  Curves[0].PointSet[64] = true;
  for (int page = 1; page <= 11; ++page) {
    const bool light = page == 2 || page == 8 || page == 9;
    EXPECT_EQ(PaintPage(page).Pixel(GraphX + 64, GraphY + 257), light ? Black : White) << page;
  }
}

TEST_F(PaintTest, SideWedgesEndThePointsPages) {
  for (int page = 0; page < PageCount; ++page) {
    const bool wedges = page == 6 || page == 7 || page == 12;
    const TRasterCanvas canvas = PaintPage(page);
    EXPECT_EQ(canvas.Pixel(0, 0) == White, wedges) << page;
    if (!wedges) continue;
    EXPECT_EQ(canvas.Pixel(63, 0), White) << page;
    EXPECT_EQ(canvas.Pixel(64, 0), Untouched) << page;
    EXPECT_EQ(canvas.Pixel(0, 1027), Black) << page;  // one row below the pattern area
    EXPECT_EQ(canvas.Pixel(0, 1028), Untouched) << page;
    EXPECT_EQ(canvas.Pixel(1855, 0), Untouched) << page;
    EXPECT_EQ(canvas.Pixel(1856, 0), Black) << page;
    EXPECT_EQ(canvas.Pixel(1919, 1027), White) << page;
  }
}

TEST_F(PaintTest, ReferencePageWithoutAPictureShowsOnlyTheWedges) {
  const TRasterCanvas canvas = PaintPage(12);
  EXPECT_EQ(CountPixels(canvas, Untouched), 1920 * 1080 - 2 * 64 * 1028);
}

TEST_F(PaintTest, PagesDrawWithTheEditedPoint) {
  CurrentPoint = 240;
  const TRasterCanvas highlights = PaintPage(9);
  EXPECT_EQ(highlights.Pixel(960, 404), Black);
  EXPECT_EQ(highlights.Pixel(GraphX + 240, GraphY + 20), Grey(140));
}

TEST(PageLook, WindowColoursFollowThePageTable) {
  const TColor expected[PageCount] = {Black, Black,     White, Black, Black, Grey(56), Black,
                                      Black, Grey(190), White, Black, Grey(25), Black};
  for (int page = 0; page < PageCount; ++page)
    EXPECT_EQ(PageLook(page).WindowColor, expected[page]) << page;
  EXPECT_EQ(PageLook(13).WindowColor, Black);
  EXPECT_FALSE(PageLook(13).HasGraph);
}

}  // namespace

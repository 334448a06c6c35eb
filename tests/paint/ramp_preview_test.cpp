#include <gtest/gtest.h>

#include "paint/page_pattern.h"
#include "paint/ramp_preview.h"
#include "paint/scaling.h"
#include "paint_setup.h"

namespace {

constexpr int GraphX = 832, GraphY = 8;  // CenteredLeft(256), Scale(8) at 1920 x 1080, 96 ppi

// Red inverted, green as it is, blue always 128: a mapped colour is
// (255 - red, green, 128).
TLevelMap PartingChannels() {
  TGammaRamp ramp{};
  for (int v = 0; v < LevelCount; ++v) {
    ramp[v] = uint16_t((255 - v) * 257);
    ramp[LevelCount + v] = uint16_t(v * 257);
    ramp[2 * LevelCount + v] = 128 * 257;
  }
  return RampLevelMap(ramp);
}

TColor Parted(TColor color) { return RgbColor(255 - RedOf(color), GreenOf(color), 128); }

TRasterCanvas PaintPage(int page, const TLevelMap* preview, const TBitmap* reference = nullptr) {
  CurrentPage = page;
  TRasterCanvas canvas = BlankCanvas(1920, 1080);
  PaintPagePattern(canvas, 96, 1920, nullptr, reference, 1027, preview);
  return canvas;
}

TEST(RampLevelMap, RoundsEachEntryToEightBits) {
  TGammaRamp ramp{};
  ramp[1] = 128;                       // red 1: 0.498 of a step
  ramp[2] = 129;                       // red 2: 0.502
  ramp[LevelCount + 3] = 33025;        // green 3: 128.502
  ramp[LevelCount + 4] = 33024;        // green 4: 128.498
  ramp[2 * LevelCount + 255] = 65535;  // blue 255
  const TLevelMap map = RampLevelMap(ramp);
  EXPECT_EQ(map.Levels[0][1], 0);
  EXPECT_EQ(map.Levels[0][2], 1);
  EXPECT_EQ(map.Levels[1][3], 129);
  EXPECT_EQ(map.Levels[1][4], 128);
  EXPECT_EQ(map.Levels[2][255], 255);
  EXPECT_EQ(MapColor(map, RgbColor(2, 3, 255)), RgbColor(1, 129, 255));
}

TEST_F(PaintTest, ThePreviewMapsEveryPixelOfThePatternButTheGraphsLines) {
  const TLevelMap map = PartingChannels();
  for (int page : {CorrectionPointsPage, ColorBalancePage, ShadowsPage}) {
    const TRasterCanvas plain = PaintPage(page, nullptr);
    const TRasterCanvas mapped = PaintPage(page, &map);
    for (int y = 0; y < 1080; ++y)
      for (int x = 0; x < 1920; ++x) {
        const bool inGraph = x >= GraphX && x <= GraphX + 256 && y >= GraphY && y < GraphY + 256;
        const TColor drawn = plain.Pixel(x, y);
        if (inGraph || drawn == Untouched) continue;
        ASSERT_EQ(mapped.Pixel(x, y), Parted(drawn)) << "page " << page << " at " << x << "," << y;
      }
    EXPECT_EQ(mapped.Pixel(GraphX, GraphY), Grey(110)) << "the frame";
    EXPECT_EQ(mapped.Pixel(GraphX + 63, GraphY + 20), Grey(71)) << "the grid";
    EXPECT_EQ(mapped.Pixel(GraphX + 10, GraphY + 20), Parted(plain.Pixel(GraphX + 10, GraphY + 20)))
        << "the background";
  }
}

TEST_F(PaintTest, ThePreviewMapsTheReferencePictureGreyOrColour) {
  const TLevelMap map = PartingChannels();
  TBitmap grey{2, 1, 8, {10, 200}};
  const TRasterCanvas canvas = PaintPage(ReferenceImagePage, &map, &grey);
  EXPECT_EQ(canvas.Pixel(CenteredLeft(2), CenteredTop(1)), RgbColor(245, 10, 128));
  EXPECT_EQ(canvas.Pixel(CenteredLeft(2) + 1, CenteredTop(1)), RgbColor(55, 200, 128));
  TBitmap colour{1, 1, 24, {10, 20, 30}};
  EXPECT_EQ(PaintPage(ReferenceImagePage, &map, &colour).Pixel(CenteredLeft(1), CenteredTop(1)),
            RgbColor(245, 20, 128));
}

}  // namespace

#include <gtest/gtest.h>

#include <vector>

#include "paint/background_form.h"
#include "paint_setup.h"

namespace {

const std::vector<TRect> TwoMonitors = {{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};

TEST(BackgroundForm, ShowsOnlyWithMoreThanOneDisplayOverTheWholeDesktop) {
  EXPECT_EQ(BackgroundPlacement(1, {{0, 0, 1920, 1080}}),
            (TBackgroundPlacement{false, {0, 0, 1920, 1080}}));
  EXPECT_EQ(BackgroundPlacement(2, TwoMonitors),
            (TBackgroundPlacement{true, {0, 0, 3200, 1080}}));
  EXPECT_EQ(VirtualDesktop({{0, 0, 1920, 1080}, {-1280, -200, 0, 824}, {1920, 100, 2944, 868}}),
            (TRect{-1280, -200, 2944, 1080}));
  EXPECT_EQ(VirtualDesktop({}), TRect{});
}

TEST(BackgroundForm, TakesThePagesWindowColour) {
  const TColor expected[PageCount] = {Black, Black,     White, Black, Black, Grey(56), Black,
                                      Black, Grey(190), White, Black, Grey(25), Black};
  for (int page = 0; page < PageCount; ++page)
    EXPECT_EQ(BackgroundColor(page), expected[page]) << page;
  EXPECT_EQ(BackgroundColor(-1), Black);
}

class BackgroundPaintTest : public PaintTest {
 protected:
  TRasterCanvas Paint(int page, const TRect& desktop, const std::vector<TRect>& monitors) {
    CurrentPage = page;
    TRasterCanvas canvas =
        BlankCanvas(desktop.Right - desktop.Left, desktop.Bottom - desktop.Top);
    PaintBackground(canvas, desktop, monitors);
    return canvas;
  }
};

TEST_F(BackgroundPaintTest, ColorBalanceCentresAGradientOnEveryMonitor) {
  const TRasterCanvas canvas = Paint(5, TRect{0, 0, 3200, 1080}, TwoMonitors);
  // Second monitor: 641 columns from x = 2240, 256 rows from y = 384.
  EXPECT_EQ(canvas.Pixel(2239, 384), Grey(56));
  EXPECT_EQ(canvas.Pixel(2240, 384), Black);
  EXPECT_EQ(canvas.Pixel(2560, 500), Grey(128));  // 127.5 rounds to even
  EXPECT_EQ(canvas.Pixel(2880, 639), White);
  EXPECT_EQ(canvas.Pixel(2881, 639), Grey(56));
  EXPECT_EQ(canvas.Pixel(2240, 383), Grey(56));
  EXPECT_EQ(canvas.Pixel(2240, 640), Grey(56));
  // First monitor: 961 columns from x = 480, 270 rows from y = 405.
  EXPECT_EQ(canvas.Pixel(480, 405), Black);
  EXPECT_EQ(canvas.Pixel(1440, 674), White);
  EXPECT_EQ(canvas.Pixel(1440, 675), Grey(56));
  EXPECT_EQ(canvas.Pixel(480, 404), Grey(56));
  // The strip of desktop below the second monitor is painted as well.
  EXPECT_EQ(canvas.Pixel(3000, 1050), Grey(56));
}

TEST_F(BackgroundPaintTest, MonitorsLeftOfThePrimaryAreOffsetIntoTheWindow) {
  const std::vector<TRect> monitors = {{0, 0, 1920, 1080}, {-1280, -200, 0, 824}};
  const TRect desktop = VirtualDesktop(monitors);
  const TRasterCanvas canvas = Paint(5, desktop, monitors);
  // The left monitor's gradient at (-1280 + 320, -200 + 384) on the desktop.
  EXPECT_EQ(canvas.Pixel(320, 384), Black);
  EXPECT_EQ(canvas.Pixel(960, 639), White);
  EXPECT_EQ(canvas.Pixel(1280 + 480, 200 + 405), Black);
}

TEST_F(BackgroundPaintTest, OtherPagesAreOneColourEverywhere) {
  for (int page : {0, 2, 8, 11}) {
    const TRasterCanvas canvas = Paint(page, TRect{0, 0, 3200, 1080}, TwoMonitors);
    EXPECT_EQ(CountPixels(canvas, BackgroundColor(page)), 3200 * 1080) << page;
  }
}

}  // namespace

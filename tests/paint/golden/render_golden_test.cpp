#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "paint/block_font.h"
#include "paint/curve_graph.h"
#include "paint/page_state.h"
#include "ramp/build_ramp.h"
#include "ramp/curve_file.h"
#include "tests/temp_folder.h"
#include "tools/render/png_file.h"
#include "tools/render/render_page.h"

namespace {

struct TGoldenSize {
  int32_t Width, Height, Ppi;
};

constexpr TGoldenSize GoldenSizes[] = {{1920, 1080, 96}, {3840, 2160, 144}};

std::string GoldenName(int32_t page, const TGoldenSize& size) {
  const std::string number = (page < 10 ? "0" : "") + std::to_string(page);
  return "page" + number + "-" + std::to_string(size.Width) + "x" + std::to_string(size.Height) +
         "-" + std::to_string(size.Ppi) + ".png";
}

TRenderOptions Options(int32_t page, const TGoldenSize& size) {
  TRenderOptions options;
  options.Page = page;
  options.Width = size.Width;
  options.Height = size.Height;
  options.Ppi = size.Ppi;
  return options;
}

// "" when equal, else where and how they differ.
std::string Difference(const TPixelImage& golden, const std::vector<TColor>& pixels, int32_t width,
                       int32_t height) {
  if (golden.Width != width || golden.Height != height)
    return "size " + std::to_string(golden.Width) + "x" + std::to_string(golden.Height);
  size_t count = 0, first = 0;
  for (size_t i = 0; i < pixels.size(); ++i)
    if (pixels[i] != golden.Pixels[i] && count++ == 0) first = i;
  if (count == 0) return "";
  return std::to_string(count) + " pixels differ, first at (" + std::to_string(first % width) +
         ", " + std::to_string(first / width) + ")";
}

TEST(RenderGolden, EveryPageMatchesItsReviewedImage) {
  TBlockFont font;
  for (const TGoldenSize& size : GoldenSizes)
    for (int32_t page = 0; page < PageCount; ++page) {
      const std::string name = GoldenName(page, size);
      TPixelImage golden;
      std::string error;
      ASSERT_TRUE(ReadPng(GOLDEN_FOLDER + name, golden, error)) << error;
      const TRasterCanvas canvas = RenderPage(Options(page, size), font);
      EXPECT_EQ(Difference(golden, canvas.Pixels(), canvas.Width(), canvas.Height()), "") << name;
    }
}

TEST(RenderGolden, TheCommandLineWritesTheSameImage) {
  TempFolder folder;
  const std::string out = folder.File("page7.png");
  const std::string command = std::string("\"") + TONEMARK_RENDER + "\" --page 7 --out \"" + out +
                              "\" --width 3840 --height 2160 --ppi 144";
  ASSERT_EQ(std::system(command.c_str()), 0);
  TPixelImage written, golden;
  std::string error;
  ASSERT_TRUE(ReadPng(out, written, error)) << error;
  ASSERT_TRUE(ReadPng(GOLDEN_FOLDER + GoldenName(7, GoldenSizes[1]), golden, error)) << error;
  EXPECT_EQ(Difference(golden, written.Pixels, written.Width, written.Height), "");
}

TEST(RenderPage, UsesTheCurveFilesRampAndPointsButTheGivenStandardAndPoint) {
  TempFolder folder;
  TRampCurve curve;
  curve.Standard = 1;
  curve.Gamma = 40;
  curve.PointSet[64] = curve.PointSet[200] = true;
  WriteBytes(folder.File("Tonemark1.lut"), CurveFileText(curve, "\\\\.\\DISPLAY1"));
  TRenderOptions options = Options(4, GoldenSizes[0]);
  options.Curve = folder.File("Tonemark1.lut");
  options.Standard = 7;
  options.Point = 12;
  TBlockFont font;
  const TRasterCanvas canvas = RenderPage(options, font);

  TGammaRamp expected{};
  BuildRamp(curve, expected);
  EXPECT_EQ(WorkRamp, expected);
  EXPECT_EQ(CurrentStandard, 7);
  EXPECT_EQ(CurrentPoint, 12);
  const int32_t x = 960 - 128, y = 8;  // the graph at 96 pixels per inch
  EXPECT_EQ(canvas.Pixel(x + 64, y + 257), White);
  EXPECT_EQ(canvas.Pixel(x + 200, y + 258), White);
  EXPECT_EQ(canvas.Pixel(x + 65, y + 257), Black);
  EXPECT_EQ(canvas.Pixel(x + 12, y + 40), Grey(140));  // the point line at 12
}

TEST(RenderPage, PaintsTheBottomBarSilverOverThePattern) {
  TBlockFont font;
  TRenderOptions options = Options(6, GoldenSizes[1]);
  const TRasterCanvas canvas = RenderPage(options, font);
  EXPECT_EQ(canvas.Pixel(0, 2079), Grey(0));   // the left wedge's last row above the bar
  EXPECT_EQ(canvas.Pixel(0, 2080), Silver);    // bar top: 2160 - Scale(53) at 144
  EXPECT_EQ(canvas.Pixel(3839, 2159), Silver);
  EXPECT_EQ(canvas.Pixel(3839, 0), Black);     // the right wedge starts black
}

TEST(ParseRenderArguments, TakesTheDefaultsOfTheDocumentedInterface) {
  TRenderOptions options;
  std::string error;
  ASSERT_TRUE(ParseRenderArguments({"tonemark-render", "--out", "a.png", "--page", "0"}, options,
                                   error));
  EXPECT_EQ(options.Page, 0);
  EXPECT_EQ(options.Out, "a.png");
  EXPECT_EQ(options.Width, 1920);
  EXPECT_EQ(options.Height, 1080);
  EXPECT_EQ(options.Ppi, 96);
  EXPECT_EQ(options.Standard, 0);
  EXPECT_EQ(options.Point, 127);
  EXPECT_EQ(options.Curve, "");
  ASSERT_FALSE(ParseRenderArguments({"tonemark-render", "--page", "12", "--out", "b.png",
                                     "--point", "-3"}, options, error));
  EXPECT_EQ(error, "--point takes an integer from 0 to 255, not \"-3\"");
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paint/mini_icm.h"
#include "paint/page_pattern.h"
#include "paint/reference_image.h"
#include "paint_setup.h"

namespace {

// Colour management whose display profile inverts the red channel, with
// switches for each way the platform can fail, recording the calls in order.
class InvertingRedIcm : public TColorManagement {
 public:
  bool HasProfile = true, CanOpen = true, CanTransform = true;
  std::vector<std::string> Calls;
  TDisplayHandle AskedDisplay = nullptr;

  bool GetDisplayProfile(TDisplayHandle display, std::string& fileName) override {
    Calls.push_back("profile");
    AskedDisplay = display;
    fileName = "display.icm";
    return HasProfile;
  }
  TProfile OpenProfile(const std::string& fileName) override {
    Calls.push_back("open " + fileName);
    return CanOpen ? &profile_ : nullptr;
  }
  TTransform CreateTransformFromSrgb(TProfile profile) override {
    Calls.push_back(profile == &profile_ ? "transform" : "transform of a stranger");
    return CanTransform ? &transform_ : nullptr;
  }
  void TranslateRow(TTransform transform, uint8_t* pixels, int32_t width) override {
    Calls.push_back(transform == &transform_ ? "row" : "row of a stranger");
    for (int32_t x = 0; x < width; ++x) pixels[3 * x] = uint8_t(255 - pixels[3 * x]);
  }
  void DeleteTransform(TTransform) override { Calls.push_back("delete"); }
  void CloseProfile(TProfile) override { Calls.push_back("close"); }

 private:
  int profile_ = 0, transform_ = 0;
};

// A picture whose pixel (x, y) is (x mod 256, y mod 256, 7).
TBitmap Picture(int width, int height) {
  TBitmap bitmap{width, height, 24, std::vector<uint8_t>(size_t(width) * height * 3)};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* pixel = &bitmap.Bits[(size_t(y) * width + x) * 3];
      pixel[0] = uint8_t(x);
      pixel[1] = uint8_t(y);
      pixel[2] = 7;
    }
  return bitmap;
}

class ReferenceImageTest : public PaintTest {
 protected:
  void SetUp() override {
    PaintTest::SetUp();
    UseDisplay(TRect{0, 0, 40, 30});
  }
  void TearDown() override {
    DisplayColorManagement = nullptr;
    PaintTest::TearDown();
  }
  InvertingRedIcm icm;
  TDisplayHandle displayDC = &icm;  // any handle, passed through
};

TEST_F(ReferenceImageTest, WithoutAPictureNothingIsDrawnOrConverted) {
  DisplayColorManagement = &icm;
  TRasterCanvas canvas = BlankCanvas(40, 30);
  PaintReferenceImage(canvas, nullptr, displayDC);
  const TBitmap empty{};
  PaintReferenceImage(canvas, &empty, displayDC);
  EXPECT_EQ(CountPixels(canvas, Untouched), 40 * 30);
  EXPECT_TRUE(icm.Calls.empty());
}

TEST_F(ReferenceImageTest, PictureIsCentredOnTheDisplayAndConvertedRowByRow) {
  DisplayColorManagement = &icm;
  const TBitmap picture = Picture(10, 4);
  TRasterCanvas canvas = BlankCanvas(40, 30);
  PaintReferenceImage(canvas, &picture, displayDC);
  EXPECT_EQ(canvas.Pixel(15, 13), RgbColor(255, 0, 7));  // (20 - 5, 15 - 2)
  EXPECT_EQ(canvas.Pixel(24, 16), RgbColor(246, 3, 7));
  EXPECT_EQ(canvas.Pixel(14, 13), Untouched);
  EXPECT_EQ(canvas.Pixel(15, 17), Untouched);
  EXPECT_EQ(icm.Calls, (std::vector<std::string>{"profile", "open display.icm", "transform", "row",
                                                 "row", "row", "row", "delete", "close"}));
  EXPECT_EQ(icm.AskedDisplay, displayDC);
  EXPECT_EQ(picture.Bits[0], 0);  // each paint converts a fresh copy
}

TEST_F(ReferenceImageTest, EveryColourManagementFailureDrawsThePictureAsDecoded) {
  const TBitmap picture = Picture(10, 4);
  const auto paint = [&] {
    icm.Calls.clear();
    TRasterCanvas canvas = BlankCanvas(40, 30);
    PaintReferenceImage(canvas, &picture, displayDC);
    return canvas.Pixel(15, 13);
  };
  EXPECT_EQ(paint(), RgbColor(0, 0, 7));  // no colour management at all
  DisplayColorManagement = &icm;
  icm.CanTransform = false;
  EXPECT_EQ(paint(), RgbColor(0, 0, 7));
  EXPECT_EQ(icm.Calls,
            (std::vector<std::string>{"profile", "open display.icm", "transform", "close"}));
  icm.CanOpen = false;
  EXPECT_EQ(paint(), RgbColor(0, 0, 7));
  EXPECT_EQ(icm.Calls, (std::vector<std::string>{"profile", "open display.icm"}));
  icm.HasProfile = false;
  EXPECT_EQ(paint(), RgbColor(0, 0, 7));
  EXPECT_EQ(icm.Calls, (std::vector<std::string>{"profile"}));
}

TEST_F(ReferenceImageTest, GreyPicturesAreDrawnWithoutColourManagement) {
  DisplayColorManagement = &icm;
  const TBitmap grey{2, 2, 8, {10, 20, 30, 40}};
  TRasterCanvas canvas = BlankCanvas(40, 30);
  PaintReferenceImage(canvas, &grey, displayDC);
  EXPECT_EQ(canvas.Pixel(19, 14), Grey(10));
  EXPECT_EQ(canvas.Pixel(20, 15), Grey(40));
  EXPECT_TRUE(icm.Calls.empty());
  TBitmap truncated = Picture(10, 4);
  truncated.Bits.resize(20);
  ApplyDisplayProfile(truncated, displayDC);
  EXPECT_TRUE(icm.Calls.empty());
}

TEST_F(ReferenceImageTest, PictureLargerThanTheDisplayShowsItsCentre) {
  UseDisplay(TRect{0, 0, 1920, 1080});
  const TBitmap picture = Picture(3000, 2000);
  TRasterCanvas canvas = BlankCanvas(1920, 1080);
  PaintReferenceImage(canvas, &picture, displayDC);
  // Placed at (-540, -460): canvas (0, 0) shows picture (540, 460).
  EXPECT_EQ(canvas.Pixel(0, 0), RgbColor(540 % 256, 460 % 256, 7));
  EXPECT_EQ(canvas.Pixel(1919, 1079), RgbColor(2459 % 256, 1539 % 256, 7));
  EXPECT_EQ(CountPixels(canvas, Untouched), 0);
}

TEST_F(ReferenceImageTest, WedgesLieOverThePictureOnTheReferencePage) {
  UseDisplay(TRect{0, 0, 1920, 1080});
  const TBitmap picture = Picture(1920, 1080);
  CurrentPage = 12;
  TRasterCanvas canvas = BlankCanvas(1920, 1080);
  PaintPagePattern(canvas, 96, 1920, displayDC, &picture, 1027);
  EXPECT_EQ(canvas.Pixel(0, 0), White);
  EXPECT_EQ(canvas.Pixel(64, 0), RgbColor(64, 0, 7));
  EXPECT_EQ(canvas.Pixel(1856, 0), Black);
  EXPECT_EQ(canvas.Pixel(900, 1050), RgbColor(900 % 256, 1050 % 256, 7));
  EXPECT_EQ(canvas.Pixel(900, 8), RgbColor(900 % 256, 8, 7));  // no graph on this page
}

}  // namespace

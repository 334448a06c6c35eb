// Shared set-up for the pattern tests: one edited display of a given size,
// fresh pattern globals, and a canvas pre-filled with a colour that no
// pattern draws, so untouched pixels can be told apart.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paint/page_state.h"
#include "paint/raster_canvas.h"
#include "ramp/build_ramp.h"
#include "ramp/records.h"

constexpr TColor Untouched = RgbColor(1, 2, 3);

inline void UseDisplay(TRect monitor) {
  TDisplay display;
  display.MonitorInfo.Monitor = monitor;
  Displays = {display};
  DisplayCount = 1;
  CurrentDisplay = 0;
  Curves = {TRampCurve{}};
}

inline TRasterCanvas BlankCanvas(int32_t width, int32_t height, TTextRenderer* text = nullptr) {
  TRasterCanvas canvas(width, height, text);
  canvas.SetBrushColor(Untouched);
  canvas.FillRect(TRect{0, 0, width, height});
  return canvas;
}

inline int CountPixels(const TRasterCanvas& canvas, TColor color) {
  int count = 0;
  for (TColor pixel : canvas.Pixels()) count += pixel == color;
  return count;
}

// A 1920 x 1080 display at 96 pixels per inch, standard sRGB, point 127,
// the ramp of the all-zero record.
class PaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseDisplay(TRect{0, 0, 1920, 1080});
    CurrentPage = 0;
    CurrentStandard = 0;
    CurrentPoint = 127;
    BuildRamp(Curves[0], WorkRamp);
  }
  void TearDown() override {
    Displays.clear();
    Curves.clear();
    DisplayCount = 0;
    CurrentStandard = 0;
    CurrentPage = 0;
    CurrentPoint = 127;
  }
};

// Remembers what it was asked to render and gives every text a 2 x 1 cell:
// background on the left pixel, glyph on the right.
class RecordingText : public TTextRenderer {
 public:
  struct TCall {
    std::string Text;
    TFont Font;
  };
  std::vector<TCall> Calls;

  TTextImage RenderText(const std::string& text, const TFont& font) override {
    Calls.push_back({text, font});
    return TTextImage{2, 1, {0, 255}};
  }
};

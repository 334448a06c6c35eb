// Pictures of the screen for the window tests: what Wine's screen shows in a
// rectangle, PNG files read and written through WIC, and a comparison that
// leaves out given rectangles.
#pragma once

#include "platform/windows/win32.h"

#include <cstdint>
#include <string>
#include <vector>

#include "paint/canvas.h"

struct TPicture {
  int32_t Width = 0, Height = 0;
  std::vector<TColor> Pixels;  // 0x00BBGGRR, rows from the top
  TColor Pixel(int32_t x, int32_t y) const { return Pixels[size_t(y) * Width + x]; }
};

// The screen's pixels in `area` (screen coordinates).
TPicture CaptureScreen(const RECT& area);
bool ReadPng(const std::string& path, TPicture& picture);
bool WritePng(const std::string& path, const TPicture& picture);

// "" when `actual` equals `expected` everywhere outside `leftOut` (rectangles
// in the pictures' coordinates), else how many pixels differ and the first.
std::string DifferenceOutside(const TPicture& expected, const TPicture& actual, const std::vector<TRect>& leftOut);

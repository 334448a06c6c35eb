// A page as a screen shows it against tonemark-render's picture of it: the
// same pixels wherever no control, panel or text lies over the pattern.
// Shared by the window's tests on X11 and on Wayland.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/render/png_file.h"
#include "ui/main_form.h"

// tonemark-render's picture of `page` with the present CurrentPoint, written
// to `pngFile` and read back.
TPixelImage RenderedPage(int32_t page, const std::string& pngFile, int32_t width = 1920, int32_t height = 1080,
                         int32_t pixelsPerInch = DesignDpi);

struct TPatternComparison {
  int32_t Differences = 0;
  int32_t Compared = 0;
};

// Compares the pattern's part of the window (above the bar) outside what the
// model says covers it: every control shown on the window itself (panels
// hold the rest), and the cells of the pattern's own text, which the window
// writes in its font and the renderer in its block face; and `alsoCovered`.
TPatternComparison ComparePattern(const TMainForm& form, const TPixelImage& shown, const TPixelImage& expected,
                                  const std::vector<TRect>& alsoCovered = {});

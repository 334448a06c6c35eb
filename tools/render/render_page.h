// The page renderer: what the calibration window's client area shows for a
// page on a display of a given size, without controls and help text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "paint/raster_canvas.h"
#include "paint/text_renderer.h"

struct TRenderOptions {
  int32_t Page = -1;
  std::string Out;
  int32_t Width = 1920;
  int32_t Height = 1080;
  int32_t Ppi = 96;
  int32_t Standard = 0;
  int32_t Point = 127;
  std::string Curve;  // a curve file; empty: the all-zero record
};

inline const char* const RenderUsage =
    "usage: tonemark-render --page N --out FILE.png [--width W] [--height H] [--ppi P]\n"
    "                       [--standard S] [--point L] [--curve FILE.lut]";

// The options of a command line (program name first); false with `error`
// saying what is wrong.
bool ParseRenderArguments(const std::vector<std::string>& arguments, TRenderOptions& options,
                          std::string& error);

// Sets up one display of Width x Height with the curve's record and ramp and
// the page, standard and point, then paints: the page's window colour, its
// pattern above the bottom bar, the bar in silver. Text is drawn with `text`
// in the window's font. Throws TFileError when the curve file cannot be read.
TRasterCanvas RenderPage(const TRenderOptions& options, TTextRenderer& text);

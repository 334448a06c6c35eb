// The port through which a canvas turns text into pixels. The platform
// supplies one that draws with the system's fonts; TBlockFont is a built-in
// one for tools and tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "paint/canvas.h"

// Rendered text: the cell that an opaque background covers, and per pixel of
// it the coverage of the glyphs, 0 (background) to 255 (font colour).
struct TTextImage {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Coverage;  // Width x Height, rows from the top
};

class TTextRenderer {
 public:
  virtual ~TTextRenderer() = default;
  virtual TTextImage RenderText(const std::string& text, const TFont& font) = 0;
};

// Text through Qt's fonts: the pattern's text on the raster canvas, and the
// size of a label's caption.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "paint/text_renderer.h"
#include "ui/controls.h"

class TQtTextRenderer : public TTextRenderer {
 public:
  // The cell is the text's advance wide and the font's line high; coverage
  // is the antialiased glyphs' alpha. The patterns write the same few labels
  // with every frame: they are rendered once.
  TTextImage RenderText(const std::string& text, const TFont& font) override;

 private:
  std::map<std::tuple<std::string, std::string, int32_t>, TTextImage> rendered_;
};

// The caption's extent in the control's font, as a label sizes itself.
TTextExtent MeasureText(const TControlFont& font, const std::string& text);
// The caption's extent wrapped at `width`, as a word-wrapping QLabel of that
// width draws it.
TTextExtent MeasureWrappedText(const TControlFont& font, const std::string& text, int32_t width);

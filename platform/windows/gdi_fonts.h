// Fonts of the calibration window through GDI: one HFONT per face, height
// and style, kept for the window's life; text measured and rendered with them.
#pragma once

#include "platform/windows/win32.h"

#include <map>
#include <string>
#include <tuple>

#include "paint/text_renderer.h"
#include "ui/controls.h"

class TGdiFonts : public TTextMeasure, public TTextRenderer {
 public:
  TGdiFonts();
  ~TGdiFonts() override;
  TGdiFonts(const TGdiFonts&) = delete;
  TGdiFonts& operator=(const TGdiFonts&) = delete;

  // Heights are GDI's: negative for the character height in pixels.
  HFONT Font(const std::string& name, int32_t height, bool bold = false, bool underline = false);
  HFONT Font(const TControlFont& font) { return Font(font.Name, font.Height, font.Bold, font.Underline); }

  // The size of a one-line caption, as a label that sizes itself takes it.
  TTextExtent TextExtent(const TControlFont& font, const std::string& text) override;
  // Wrapped as DrawText wraps a label's words (DT_WORDBREAK).
  TTextExtent WrappedTextExtent(const TControlFont& font, const std::string& text, int32_t width) override;
  // White on black, grey-scale anti-aliased: the green channel is the coverage.
  TTextImage RenderText(const std::string& text, const TFont& font) override;

 private:
  HDC dc_;  // a memory DC for measuring and rendering
  std::map<std::tuple<std::string, int32_t, bool, bool>, HFONT> fonts_;
};

// A colour of the control model as GDI takes it: system colours looked up.
COLORREF ResolveColor(TColor color);

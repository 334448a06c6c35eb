// The drawing surface that every pattern paints on, with GDI's pixel rules,
// and the plain colour and bitmap records that go with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ramp/records.h"

// A 24-bit colour packed as 0x00BBGGRR, red in the low byte.
using TColor = uint32_t;

constexpr TColor RgbColor(int32_t red, int32_t green, int32_t blue) {
  return TColor(red & 0xFF) | TColor(green & 0xFF) << 8 | TColor(blue & 0xFF) << 16;
}
// Grey g: red = green = blue = g, only the low 8 bits of g counting.
constexpr TColor Grey(int32_t level) { return RgbColor(level, level, level); }
constexpr int32_t RedOf(TColor color) { return color & 0xFF; }
constexpr int32_t GreenOf(TColor color) { return color >> 8 & 0xFF; }
constexpr int32_t BlueOf(TColor color) { return color >> 16 & 0xFF; }

constexpr TColor Black = Grey(0);
constexpr TColor White = Grey(255);
constexpr TColor Silver = Grey(192);
// Red, green and blue as the graph's curves and the panels' channel rows show them.
constexpr TColor ChannelColors[3] = {RgbColor(255, 0, 0), RgbColor(0, 128, 0), RgbColor(0, 0, 255)};

// A font as the window selects it: a face name and a height in pixels,
// negative for the character height without internal leading.
struct TFont {
  std::string Name = "Tahoma";
  int32_t Height = -11;
  bool operator==(const TFont&) const = default;
};

// A decoded picture, rows from the top, each row Width pixels without padding.
// 24 bits per pixel hold red, green, blue bytes in that order; 8 bits per pixel
// hold one grey byte. Other depths are not drawn.
struct TBitmap {
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t BitsPerPixel = 24;
  std::vector<uint8_t> Bits;
};

// A device context as the patterns use it. Stateful like GDI: the pen colour
// draws lines, the brush colour fills rectangles and backs text, the font
// colour draws text. Coordinates are client pixels; whatever falls outside
// the surface is clipped.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  virtual void SetPenColor(TColor color) = 0;
  virtual void SetBrushColor(TColor color) = 0;
  virtual void SetFontColor(TColor color) = 0;

  virtual void MoveTo(int32_t x, int32_t y) = 0;
  // A one-pixel line from the current position; the end point is not drawn
  // and becomes the current position.
  virtual void LineTo(int32_t x, int32_t y) = 0;
  // Fills with the brush colour; the right and bottom edges are not filled.
  virtual void FillRect(const TRect& rect) = 0;
  // Text in the canvas's font and font colour, its cell filled with the
  // brush colour first (opaque background), top-left corner at (x, y).
  virtual void TextOut(int32_t x, int32_t y, const std::string& text) = 0;
  // The bitmap at its own size with its top-left corner at (x, y).
  virtual void Draw(int32_t x, int32_t y, const TBitmap& bitmap) = 0;

  // Side by side, one vertical line per colour from (x + i, y) to
  // (x + i, y + height), as the pen would draw them one after another, the
  // last colour and end point staying in force. A canvas may draw them in
  // any order it likes: none of them overlap.
  virtual void DrawVerticalLines(int32_t x, int32_t y, int32_t height,
                                 const std::vector<TColor>& colors) {
    for (size_t i = 0; i < colors.size(); ++i) {
      SetPenColor(colors[i]);
      MoveTo(x + int32_t(i), y);
      LineTo(x + int32_t(i), y + height);
    }
  }
};

// Pen-colour line from (x1, y1) to (x2, y2), leaving out (x2, y2).
inline void DrawLine(TCanvas& canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

inline void FillRectangle(TCanvas& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom,
                          TColor color) {
  canvas.SetBrushColor(color);
  canvas.FillRect(TRect{left, top, right, bottom});
}

// An exact in-memory canvas with GDI's pixel rules, for tests, benchmarks,
// the page renderer and the Linux view.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "paint/canvas.h"
#include "paint/text_renderer.h"

// How a canvas keeps its pixels in memory: as colours (0x00BBGGRR), or in
// the byte order of X servers and QImage::Format_RGB32 (0x00RRGGBB), which a
// window then shows without converting a pixel. The top byte stays 0 either
// way, so that black is 0.
enum class TPixelLayout { Color, Xrgb };

class TRasterCanvas : public TCanvas {
 public:
  // A width x height surface in black. Without a text renderer, TextOut fills
  // nothing and draws nothing.
  TRasterCanvas(int32_t width, int32_t height, TTextRenderer* text = nullptr,
                TPixelLayout layout = TPixelLayout::Color);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // The pixels in the canvas's layout, rows from the top.
  std::span<const uint32_t> Pixels() const { return {pixels_.get(), size_t(width_) * height_}; }
  // The colour of a pixel, whatever the layout.
  TColor Pixel(int32_t x, int32_t y) const;
  // What a pixel of this colour holds in the canvas's layout.
  uint32_t PixelValue(TColor color) const {
    return layout_ == TPixelLayout::Color
               ? color
               : uint32_t(RedOf(color)) << 16 | uint32_t(GreenOf(color)) << 8 | uint32_t(BlueOf(color));
  }

  void SetFont(const TFont& font) { font_ = font; }
  const TFont& Font() const { return font_; }

  void SetPenColor(TColor color) override;
  void SetBrushColor(TColor color) override;
  void SetFontColor(TColor color) override { fontColor_ = color; }
  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void FillRect(const TRect& rect) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;
  void Draw(int32_t x, int32_t y, const TBitmap& bitmap) override;
  // Row by row rather than line by line: the same pixels, written in memory order.
  void DrawVerticalLines(int32_t x, int32_t y, int32_t height,
                         const std::vector<TColor>& colors) override;

 private:
  void HorizontalRun(int32_t y, int32_t fromX, int32_t toX);  // toX left out
  void VerticalRun(int32_t x, int32_t fromY, int32_t toY);    // toY left out
  void SlopedLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void Plot(int32_t x, int32_t y, TColor color);

  int32_t width_, height_;
  TPixelLayout layout_;
  // Fresh zeroed memory from the system, black until written: a large canvas
  // costs no time where it stays black.
  struct TFree {
    void operator()(uint32_t* pixels) const { std::free(pixels); }
  };
  std::unique_ptr<uint32_t[], TFree> pixels_;
  TTextRenderer* text_;
  TFont font_;
  TColor pen_ = Black, brush_ = White, fontColor_ = Black;
  uint32_t penValue_, brushValue_;  // pen_ and brush_ in the layout
  int32_t penX_ = 0, penY_ = 0;
};

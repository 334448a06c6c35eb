// An exact in-memory canvas with GDI's pixel rules, for tests, benchmarks,
// the page renderer and the Linux view.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "paint/canvas.h"
#include "paint/text_renderer.h"

class TRasterCanvas : public TCanvas {
 public:
  // A width x height surface in black. Without a text renderer, TextOut fills
  // nothing and draws nothing.
  TRasterCanvas(int32_t width, int32_t height, TTextRenderer* text = nullptr);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // 0x00BBGGRR per pixel, rows from the top.
  const std::vector<TColor>& Pixels() const { return pixels_; }
  TColor Pixel(int32_t x, int32_t y) const { return pixels_[size_t(y) * width_ + x]; }

  void SetFont(const TFont& font) { font_ = font; }
  const TFont& Font() const { return font_; }

  void SetPenColor(TColor color) override { pen_ = color; }
  void SetBrushColor(TColor color) override { brush_ = color; }
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
  std::vector<TColor> pixels_;
  TTextRenderer* text_;
  TFont font_;
  TColor pen_ = Black, brush_ = White, fontColor_ = Black;
  int32_t penX_ = 0, penY_ = 0;
};

// A raster canvas that notes where a frame changes its pixels. Fills change
// only the pixels that differ from what the canvas holds (a page's background,
// painted again over the whole window with every frame, mostly changes
// nothing); lines, text and pictures count where they are drawn. So painting a
// frame over the last one says, in passing, which part of the screen to send.
#pragma once

#include <QRegion>
#include <vector>

#include "paint/raster_canvas.h"

class TDamageCanvas : public TCanvas {
 public:
  TDamageCanvas(TRasterCanvas& canvas, TTextRenderer* text);

  // The rows changed since the last call, as bands of rows as wide as the
  // columns changed in them; forgets them.
  QRegion TakeDamage();

  void SetPenColor(TColor color) override;
  void SetBrushColor(TColor color) override;
  void SetFontColor(TColor color) override { canvas_.SetFontColor(color); }
  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void FillRect(const TRect& rect) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;
  void Draw(int32_t x, int32_t y, const TBitmap& bitmap) override;
  void DrawVerticalLines(int32_t x, int32_t y, int32_t height, const std::vector<TColor>& colors) override;

 private:
  // Marks the pixels of columns left..right - 1 and rows top..bottom - 1.
  void Damage(int32_t left, int32_t top, int32_t right, int32_t bottom);

  TRasterCanvas& canvas_;
  TTextRenderer* text_;
  TColor brush_ = White;
  int32_t penX_ = 0, penY_ = 0;
  std::vector<int32_t> rowLeft_, rowRight_;  // per row; left > right: unchanged
  std::vector<TColor> brushRow_;
};

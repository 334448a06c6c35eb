// A raster canvas that notes where a frame changes its pixels, so that only
// that part goes to the screen. Fills change only the pixels that differ from
// what the canvas holds; lines, text and pictures count where they are drawn.
// A page paints its background over the whole window with every frame: the
// canvas remembers what the last frame drew over its background, and only
// there can the same background change a pixel.
#pragma once

#include <QRegion>
#include <vector>

#include "paint/raster_canvas.h"

// A set of pixels as one span of columns per row.
class TRowSpans {
 public:
  explicit TRowSpans(int32_t width = 0, int32_t height = 0);
  // Adds columns left..right - 1 of rows top..bottom - 1, clipped.
  void Add(int32_t left, int32_t top, int32_t right, int32_t bottom);
  bool Empty(int32_t row) const { return left_[row] > right_[row]; }
  int32_t Left(int32_t row) const { return left_[row]; }
  int32_t Right(int32_t row) const { return right_[row]; }  // the last column, inclusive
  void Clear();
  // Bands of consecutive rows, each as wide as the spans in it.
  QRegion Bands() const;

 private:
  int32_t width_, height_;
  std::vector<int32_t> left_, right_;
};

// What the last frame left on the canvas: its background colour everywhere
// but where it drew over it.
struct TFrameHistory {
  bool Known = false;
  TColor Background = Black;
  TRowSpans Drawn;
};

class TDamageCanvas : public TCanvas {
 public:
  // `history` describes the canvas's pixels now, and is kept up to date.
  TDamageCanvas(TRasterCanvas& canvas, TTextRenderer* text, TFrameHistory& history);

  // Where pixels changed since the canvas was made.
  QRegion Damage() const { return damage_.Bands(); }

  void SetPenColor(TColor color) override { canvas_.SetPenColor(color); }
  void SetBrushColor(TColor color) override;
  void SetFontColor(TColor color) override { canvas_.SetFontColor(color); }
  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void FillRect(const TRect& rect) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;
  void Draw(int32_t x, int32_t y, const TBitmap& bitmap) override;
  void DrawVerticalLines(int32_t x, int32_t y, int32_t height, const std::vector<TColor>& colors) override;

 private:
  // Drawn without comparing: damaged, and over the background.
  void Drawn(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // Fills the pixels of one row's columns left..right - 1 that differ.
  bool FillRow(int32_t row, int32_t left, int32_t right);
  void FillBackground();

  TRasterCanvas& canvas_;
  TTextRenderer* text_;
  TFrameHistory& history_;
  TRowSpans damage_;
  TColor brush_ = White;
  int32_t penX_ = 0, penY_ = 0;
  std::vector<uint32_t> brushRow_;  // the brush as the canvas holds it
};

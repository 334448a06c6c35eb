#include "paint/primitives.h"

#include <vector>

#include "paint/target_standard.h"

// start - step x (start - end) / steps is the fraction numerator / steps.
// Rounding that fraction in integers gives what the division in floating
// point gives: an exact half stays exact there, and anything else lies at
// least 1 / steps away from a half, far more than the division's error. It
// is also many times faster, and gradients take one per channel per line.
int32_t GradientLevel(int32_t start, int32_t end, int32_t step, int32_t steps) {
  if (step == 0) return start & 0xFF;  // spares a 0 / 0 on a gradient of size 0
  int64_t numerator = int64_t(start) * steps - int64_t(step) * (start - end);
  int64_t denominator = steps;
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  int64_t quotient = numerator / denominator, remainder = numerator % denominator;
  if (remainder < 0) {  // floor, not truncation
    --quotient;
    remainder += denominator;
  }
  if (2 * remainder > denominator || (2 * remainder == denominator && quotient % 2 != 0))
    ++quotient;
  return int32_t(quotient & 0xFF);
}

namespace {

TColor GradientColor(TColor start, TColor end, int32_t step, int32_t steps) {
  return RgbColor(GradientLevel(RedOf(start), RedOf(end), step, steps),
                  GradientLevel(GreenOf(start), GreenOf(end), step, steps),
                  GradientLevel(BlueOf(start), BlueOf(end), step, steps));
}

}  // namespace

void DrawHorizontalGradient(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                            TColor startColor, TColor endColor) {
  std::vector<TColor> columns;
  for (int32_t i = 0; i <= width; ++i) columns.push_back(GradientColor(startColor, endColor, i, width));
  canvas.DrawVerticalLines(x, y, height, columns);
}

void DrawVerticalGradient(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                          TColor startColor, TColor endColor) {
  for (int32_t j = 0; j <= height; ++j) {
    canvas.SetPenColor(GradientColor(startColor, endColor, j, height));
    DrawLine(canvas, x, y + j, x + width, y + j);
  }
}

void DrawRowStripes(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                    TColor evenColor, TColor oddColor) {
  const int32_t pairs = height / 2;
  canvas.SetPenColor(evenColor);
  for (int32_t i = 0; i <= pairs; ++i) DrawLine(canvas, x, y + 2 * i, x + width, y + 2 * i);
  canvas.SetPenColor(oddColor);
  for (int32_t i = 0; i <= pairs; ++i)
    DrawLine(canvas, x, y + 2 * i + 1, x + width, y + 2 * i + 1);
}

void DrawColumnStripes(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                       TColor evenColor, TColor oddColor) {
  const int32_t pairs = width / 2;
  canvas.SetPenColor(evenColor);
  for (int32_t i = 0; i <= pairs; ++i) DrawLine(canvas, x + 2 * i, y, x + 2 * i, y + height);
  canvas.SetPenColor(oddColor);
  for (int32_t i = 0; i <= pairs; ++i)
    DrawLine(canvas, x + 2 * i + 1, y, x + 2 * i + 1, y + height);
}

void DrawGreySquares(TCanvas& canvas, int32_t x, int32_t y, int32_t count, int32_t size) {
  constexpr int32_t Gap = 4, LevelStep = 4;  // pixels, not scaled; levels
  for (int32_t k = 0; k < count; ++k) {
    const int32_t left = x + (count - 1 - k) * (size + Gap);
    FillRectangle(canvas, left, y, left + size, y + size, Grey(255 - LevelStep * k));
  }
}

void DrawDitherGradient(TCanvas& canvas, int32_t x, int32_t y, int32_t columnWidth, int32_t height,
                        int32_t topLevel, int32_t bottomLevel) {
  const int32_t w = columnWidth, stripRight = x + 5 * w;
  int32_t level = topLevel;
  for (int32_t j = 0; j <= height; ++j) {
    level = GradientLevel(topLevel, bottomLevel, j, height);
    canvas.SetPenColor(Grey(level));
    DrawLine(canvas, x, y + j, stripRight, y + j);
  }
  canvas.SetPenColor(Grey(level));
  DrawLine(canvas, x, y + height + 1, stripRight, y + height + 1);

  const int32_t u = w / 2;
  const int32_t redLeft = x + u, greenLeft = x + 2 * w, blueLeft = x + 3 * w + u;
  for (int32_t k = 0; k <= height / 2; ++k) {
    const int32_t r = GradientLevel(topLevel, bottomLevel, 2 * k, height);
    const TDitherPair pair = DitherPair(r);
    const int32_t evenRow = y + 2 * k, oddRow = evenRow + 1;
    canvas.SetPenColor(RgbColor(pair.Low, r, r));
    DrawLine(canvas, redLeft, evenRow, redLeft + w, evenRow);
    canvas.SetPenColor(RgbColor(pair.High, r, r));
    DrawLine(canvas, redLeft, oddRow, redLeft + w, oddRow);
    canvas.SetPenColor(RgbColor(r, pair.Low, r));
    DrawLine(canvas, greenLeft, evenRow, greenLeft + w, evenRow);
    canvas.SetPenColor(RgbColor(r, pair.High, r));
    DrawLine(canvas, greenLeft, oddRow, greenLeft + w, oddRow);
    canvas.SetPenColor(RgbColor(r, r, pair.Low));
    DrawLine(canvas, blueLeft, evenRow, blueLeft + w, evenRow);
    canvas.SetPenColor(RgbColor(r, r, pair.High));
    DrawLine(canvas, blueLeft, oddRow, blueLeft + w, oddRow);
  }
}

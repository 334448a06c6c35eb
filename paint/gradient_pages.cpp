// The Color Balance, Highlights, Shadows and Gradient pages: wide gradients
// across the window.
#include <algorithm>

#include "paint/page_geometry.h"
#include "paint/page_painters.h"
#include "paint/primitives.h"

namespace {

// Half the gradient's design height.
int32_t GradientHalfHeight(int32_t patternHeight, int32_t ppi) {
  return LargeVariant(patternHeight, ppi) ? 128 : 98;
}

struct TMarkedGradient {
  int32_t RangeStart;  // the level at the gradient's left end
  int32_t RangeWidth;  // levels from the left end to the right end
  TColor MarkerColor;
  TColor From, To;
  int32_t StripReach;  // levels either side of the edited point in the strip
};

void PaintMarkedGradient(TCanvas& canvas, int32_t ppi, int32_t clientWidth, int32_t patternHeight,
                         int32_t level, const TMarkedGradient& page) {
  auto S = [ppi](int32_t value) { return Scale(value, ppi); };
  const int32_t W = clientWidth, n = GradientHalfHeight(patternHeight, ppi);
  const int32_t y0 = CenteredTop(S(2 * n)), d = S(32);

  // Not clamped: a level outside the range puts the marker off the gradient.
  const long double fraction = (long double)(level - page.RangeStart) / page.RangeWidth;
  const int32_t x = d + int32_t(RoundHalfEven((W - 2 * d) * fraction));
  canvas.SetPenColor(page.MarkerColor);
  DrawLine(canvas, x, y0 - S(8), x, y0 + S(2 * n + 8));

  DrawHorizontalGradient(canvas, d, y0, W - S(64), S(2 * n), page.From, page.To);
  DrawDitherGradient(canvas, W / 2 - S(120), y0 + S(25), S(48), S(2 * n) - S(50),
                     std::min(level + page.StripReach, 255), std::max(level - page.StripReach, 0));
}

}  // namespace

void PaintColorBalancePage(TCanvas& canvas, int32_t ppi, int32_t clientWidth,
                           int32_t patternHeight) {
  auto S = [ppi](int32_t value) { return Scale(value, ppi); };
  const int32_t W = clientWidth, n = GradientHalfHeight(patternHeight, ppi);
  const int32_t y0 = CenteredTop(S(2 * n));
  DrawHorizontalGradient(canvas, S(32), y0, W - S(64), S(2 * n), Black, White);
  DrawHorizontalGradient(canvas, S(96), y0 + S(n), W / 2 - S(96), S(64), Grey(38), Black);
  DrawHorizontalGradient(canvas, W / 2, y0 + S(n - 64), W / 2 - S(96), S(64), White, Grey(200));
}

void PaintHighlightsPage(TCanvas& canvas, int32_t ppi, int32_t clientWidth, int32_t patternHeight,
                         int32_t level) {
  PaintMarkedGradient(canvas, ppi, clientWidth, patternHeight, level,
                      {225, 30, Black, Grey(225), Grey(255), 5});
}

void PaintShadowsPage(TCanvas& canvas, int32_t ppi, int32_t clientWidth, int32_t patternHeight,
                      int32_t level) {
  PaintMarkedGradient(canvas, ppi, clientWidth, patternHeight, level,
                      {0, 24, White, Black, Grey(24), 5});
}

void PaintGradientPage(TCanvas& canvas, int32_t ppi, int32_t clientWidth, int32_t patternHeight,
                       int32_t level) {
  PaintMarkedGradient(canvas, ppi, clientWidth, patternHeight, level,
                      {0, 255, White, Black, White, 20});
}

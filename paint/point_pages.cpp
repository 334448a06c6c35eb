// The Sharp, Correction Points and Grays pages: solid areas at the edited
// level set against line tiles of its DitherPair.
#include <algorithm>

#include "paint/page_geometry.h"
#include "paint/page_painters.h"
#include "paint/primitives.h"
#include "paint/target_standard.h"

void PaintSharpPage(TCanvas& canvas, int32_t ppi, int32_t patternHeight, int32_t level) {
  auto S = [ppi](int32_t value) { return Scale(value, ppi); };
  const bool large = LargeVariant(patternHeight, ppi);
  const int32_t g = large ? 20 : 10, t = large ? 60 : 52;
  const int32_t W = S(6 * g + 5 * t), B = S(4 * g + 3 * t);
  const int32_t x0 = CenteredLeft(W), y0 = CenteredTop(B);
  const TDitherPair pair = DitherPair(level);

  DrawRowStripes(canvas, x0, y0, W, B, Grey(level), Grey(level));
  for (int32_t row = 0; row < 3; ++row)
    for (int32_t column = 0; column < 5; ++column) {
      const int32_t x = x0 + S(g + column * (t + g)), y = y0 + S(g + row * (t + g));
      const auto draw = (column + row) % 2 == 0 ? DrawColumnStripes : DrawRowStripes;
      draw(canvas, x, y, S(t), S(t), Grey(pair.Low), Grey(pair.High));
    }
}

void PaintPointsPage(TCanvas& canvas, int32_t ppi, int32_t patternHeight, int32_t level) {
  auto S = [ppi](int32_t value) { return Scale(value, ppi); };
  const bool large = LargeVariant(patternHeight, ppi);
  const int32_t B = large ? S(220) : S(196), T = large ? S(60) : S(53), e = large ? S(20) : S(10);
  const int32_t W = S(480), x0 = CenteredLeft(W), y0 = CenteredTop(B), g = S(10);
  const TDitherPair pair = DitherPair(level);
  const int32_t low = pair.Low, high = pair.High;

  canvas.SetPenColor(Grey(100));
  DrawLine(canvas, x0 - S(191), y0 + B / 2, x0 + W + S(191), y0 + B / 2);
  DrawRowStripes(canvas, x0, y0, W, B, Grey(level), Grey(level));

  const int32_t rows[3] = {y0 + g, y0 + 2 * g + T, y0 + 3 * g + 2 * T};
  const int32_t greyLeft = x0 + W - T - T / 2, colorLeft = x0 + T / 2;
  for (int32_t y : rows) DrawRowStripes(canvas, greyLeft, y, T, T, Grey(low), Grey(high));
  DrawRowStripes(canvas, colorLeft, rows[0], T, T, RgbColor(low, level, level),
                 RgbColor(high, level, level));
  DrawRowStripes(canvas, colorLeft, rows[1], T, T, RgbColor(level, low, level),
                 RgbColor(level, high, level));
  DrawRowStripes(canvas, colorLeft, rows[2], T, T, RgbColor(level, level, low),
                 RgbColor(level, level, high));

  DrawDitherGradient(canvas, x0 + S(120), y0, S(48), B, std::min(level + 40, 255),
                     std::max(level - 40, 0));
  DrawGreySquares(canvas, x0 + S(38), y0 + B + e, 12, S(30));
  DrawDitherGradient(canvas, x0 - 2 * g - S(151), CenteredTop(S(256)), S(30), S(256), 0, 255);
  DrawDitherGradient(canvas, x0 + W + 2 * g, CenteredTop(S(256)), S(30), S(256), 255, 0);
}

void PaintGraysPage(TCanvas& canvas, int32_t ppi, int32_t patternHeight, int32_t level) {
  auto S = [ppi](int32_t value) { return Scale(value, ppi); };
  constexpr int32_t Step = 16;
  // Above this scaled height the centre rectangle keeps a fixed pixel size.
  constexpr int32_t MediumMinHeight = 780, LargeMinHeight = 1081, LargeHalfHeight = 440;
  const int32_t cx = CenteredLeft(0), cy = CenteredTop(0), b = S(64);
  const TDitherPair pair = DitherPair(level);
  const int32_t low = pair.Low, high = pair.High;

  const int32_t lighter = level + Step > 255 ? 254 : level + Step;
  const int32_t darker = level - Step < 0 ? 1 : level - Step;
  const int32_t rightSquare = cx + S(272) + b, leftSquare = cx - S(272) - 3 * b;
  FillRectangle(canvas, rightSquare, cy - b, rightSquare + 2 * b, cy + b, Grey(lighter));
  FillRectangle(canvas, leftSquare, cy - b, leftSquare + 2 * b, cy + b, Grey(darker));

  const int32_t scaledHeight = ScaledHeight(patternHeight, ppi);
  const int32_t hh = scaledHeight < MediumMinHeight  ? S(100)
                     : scaledHeight < LargeMinHeight ? S(220)
                                                     : LargeHalfHeight;
  FillRectangle(canvas, cx - 5 * b, cy - hh, cx + 5 * b, cy + hh, Grey(level));

  const int32_t r = S(80), t = S(8);
  DrawRowStripes(canvas, cx + t, cy + t, r, r, Grey(low), Grey(high));
  DrawRowStripes(canvas, cx - r - t, cy + t, r, r, RgbColor(low, high, high),
                 RgbColor(high, low, low));
  DrawRowStripes(canvas, cx - r - t, cy - r - t, r, r, RgbColor(high, low, high),
                 RgbColor(low, high, low));
  DrawRowStripes(canvas, cx + t, cy - r - t, r, r, RgbColor(high, high, low),
                 RgbColor(low, low, high));
}

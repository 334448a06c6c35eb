// The Black Point, White Point and Gamma pages.
#include <string>

#include "paint/page_geometry.h"
#include "paint/page_painters.h"
#include "paint/primitives.h"
#include "paint/scaling.h"

namespace {

constexpr int32_t SquareCount = 9;

// "(n,n,n)"
std::string LevelLabel(int32_t level) {
  const std::string n = std::to_string(level);
  return "(" + n + "," + n + "," + n + ")";
}

void PaintLevelSquares(TCanvas& canvas, int32_t ppi, int32_t firstLevel, TColor textColor,
                       TColor textBackground, int32_t labelIndent) {
  auto S = [ppi](int32_t value) { return Scale(value, ppi); };
  const int32_t x0 = CenteredLeft(S(880)), y0 = CenteredTop(S(80));
  canvas.SetFontColor(textColor);
  for (int32_t i = 0; i < SquareCount; ++i) {
    const int32_t left = x0 + i * S(100), level = firstLevel + i;
    FillRectangle(canvas, left, y0, left + S(80), y0 + S(80), Grey(level));
    canvas.SetBrushColor(textBackground);
    canvas.TextOut(left + labelIndent, y0 - S(30), LevelLabel(level));
  }
}

}  // namespace

void PaintBlackPointPage(TCanvas& canvas, int32_t ppi) {
  PaintLevelSquares(canvas, ppi, 1, Grey(80), Black, Scale(20, ppi));
}

void PaintWhitePointPage(TCanvas& canvas, int32_t ppi) {
  PaintLevelSquares(canvas, ppi, 246, Grey(180), White, Scale(4, ppi));
}

void PaintGammaPage(TCanvas& canvas, int32_t ppi, int32_t patternHeight) {
  auto S = [ppi](int32_t value) { return Scale(value, ppi); };
  const int32_t cx = CenteredLeft(0), cy = CenteredTop(0), q = S(64);

  canvas.SetPenColor(Grey(100));
  DrawLine(canvas, cx - S(150), cy, cx + S(150), cy);

  struct TSquare {
    int32_t Left;
    int32_t Level;
  };
  for (const TSquare& square : {TSquare{cx + S(240) - q, 56}, TSquare{cx + S(272) + q, 250},
                                TSquare{cx - S(240) - q, 56}, TSquare{cx - S(272) - 3 * q, 16}})
    FillRectangle(canvas, square.Left, cy - q, square.Left + 2 * q, cy + q, Grey(square.Level));

  const int32_t h = LargeVariant(patternHeight, ppi) ? 256 : 196;
  DrawDitherGradient(canvas, CenteredLeft(S(260)), CenteredTop(S(h)), S(52), S(h), 200, 10);
}

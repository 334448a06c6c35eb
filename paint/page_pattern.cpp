#include "paint/page_pattern.h"

#include "paint/curve_graph.h"
#include "paint/page_painters.h"
#include "paint/page_state.h"
#include "paint/primitives.h"
#include "paint/reference_image.h"
#include "paint/scaling.h"

namespace {

constexpr TPageLook PageLooks[PageCount] = {
    {Black, false, Black, false},         // Welcome
    {Black, true, Black, false},          // Black Point
    {White, true, White, false},          // White Point
    {Black, true, Black, false},          // Gamma
    {Black, true, Black, true},           // Sharp
    {Grey(56), true, Grey(56), false},    // Color Balance
    {Black, true, Black, true},           // Correction Points
    {Black, true, Black, true},           // All Controls
    {Grey(190), true, Grey(190), true},   // Grays
    {White, true, Grey(200), true},       // Highlights
    {Black, true, Grey(1), true},         // Shadows
    {Grey(25), true, Grey(25), true},     // Gradient
    {Black, false, Black, false},         // Reference Image
};

}  // namespace

TPageLook PageLook(int32_t page) {
  if (page < 0 || page >= PageCount) return TPageLook{};
  return PageLooks[page];
}

void DrawSideWedges(TCanvas& canvas, int32_t ppi, int32_t clientWidth, int32_t patternHeight) {
  const int32_t width = Scale(64, ppi);
  DrawVerticalGradient(canvas, 0, 0, width, patternHeight, White, Black);
  DrawVerticalGradient(canvas, clientWidth - width, 0, width, patternHeight, Black, White);
}

void PaintPagePattern(TCanvas& canvas, int32_t ppi, int32_t clientWidth, TDisplayHandle displayDC,
                      const TBitmap* reference, int32_t patternHeight) {
  const int32_t page = CurrentPage, level = CurrentPoint;
  const TPageLook look = PageLook(page);
  if (look.HasGraph)
    DrawCurveGraph(canvas, CenteredLeft(Scale(256, ppi)), Scale(8, ppi), look.GraphBackground,
                   look.PointLine, patternHeight, ppi);

  switch (page) {
    case BlackPointPage: PaintBlackPointPage(canvas, ppi); break;
    case WhitePointPage: PaintWhitePointPage(canvas, ppi); break;
    case GammaPage: PaintGammaPage(canvas, ppi, patternHeight); break;
    case SharpPage: PaintSharpPage(canvas, ppi, patternHeight, level); break;
    case ColorBalancePage: PaintColorBalancePage(canvas, ppi, clientWidth, patternHeight); break;
    case CorrectionPointsPage:
    case AllControlsPage: PaintPointsPage(canvas, ppi, patternHeight, level); break;
    case GraysPage: PaintGraysPage(canvas, ppi, patternHeight, level); break;
    case HighlightsPage:
      PaintHighlightsPage(canvas, ppi, clientWidth, patternHeight, level);
      break;
    case ShadowsPage: PaintShadowsPage(canvas, ppi, clientWidth, patternHeight, level); break;
    case GradientPage: PaintGradientPage(canvas, ppi, clientWidth, patternHeight, level); break;
    case ReferenceImagePage: PaintReferenceImage(canvas, reference, displayDC); break;
    default: break;
  }

  if (page == CorrectionPointsPage || page == AllControlsPage || page == ReferenceImagePage)
    DrawSideWedges(canvas, ppi, clientWidth, patternHeight);
}

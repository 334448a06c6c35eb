#include "paint/page_pattern.h"

#include <optional>

#include "paint/curve_graph.h"
#include "paint/page_state.h"
#include "paint/primitives.h"
#include "paint/scaling.h"

void DrawSideWedges(TCanvas& canvas, int32_t ppi, int32_t clientWidth, int32_t patternHeight) {
  const int32_t width = Scale(64, ppi);
  DrawVerticalGradient(canvas, 0, 0, width, patternHeight, White, Black);
  DrawVerticalGradient(canvas, clientWidth - width, 0, width, patternHeight, Black, White);
}

void PaintPagePattern(TCanvas& canvas, int32_t ppi, int32_t clientWidth, TDisplayHandle displayDC,
                      const TBitmap* reference, int32_t patternHeight, const TLevelMap* preview) {
  std::optional<TMappedCanvas> mapped;
  if (preview) mapped.emplace(canvas, *preview);
  TCanvas& pattern = mapped ? static_cast<TCanvas&>(*mapped) : canvas;
  const TPage& page = PageLook(CurrentPage);
  if (page.HasGraph)
    DrawCurveGraph(canvas, pattern, CenteredLeft(Scale(256, ppi)), Scale(8, ppi), page.GraphBackground,
                   page.PointLine, patternHeight, ppi);

  if (page.Painter)
    page.Painter({pattern, ppi, clientWidth, patternHeight, CurrentPoint, reference, displayDC});
  if (page.SideWedges) DrawSideWedges(pattern, ppi, clientWidth, patternHeight);
}

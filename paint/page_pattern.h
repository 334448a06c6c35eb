// The pattern of the current page, as the calibration window's paint handler
// draws it over the page's window colour.
#pragma once

#include <cstdint>

#include "paint/canvas.h"
#include "ramp/records.h"

// The bottom bar's height at 96 DPI: the pattern ends where the bar begins.
constexpr int32_t BarDesignHeight = 53;

// What a page looks like behind and around its pattern.
struct TPageLook {
  TColor WindowColor = Black;
  bool HasGraph = false;
  TColor GraphBackground = Black;
  bool PointLine = false;  // the graph marks CurrentPoint
};

// The look of page 0..12; any other page is a black page without a graph.
TPageLook PageLook(int32_t page);

// Draws the pattern of CurrentPage: nothing on page 0; the curve graph and the
// page's painter on pages 1..11; the reference picture on page 12; the side
// wedges last on pages 6, 7 and 12. `patternHeight` is the top of the bottom
// bar; `reference` may be null.
void PaintPagePattern(TCanvas& canvas, int32_t ppi, int32_t clientWidth, TDisplayHandle displayDC,
                      const TBitmap* reference, int32_t patternHeight);

// White-to-black and black-to-white wedges down the left and right edges.
void DrawSideWedges(TCanvas& canvas, int32_t ppi, int32_t clientWidth, int32_t patternHeight);

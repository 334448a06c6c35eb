// The graph of WorkRamp with its grid, axis wedges, the point ticks of the
// edited display and, optionally, the line of the edited point.
#pragma once

#include <cstdint>

#include "paint/canvas.h"

// The pixels per inch that the graph is drawn at: `ppi`, or less when the
// pattern area is too low for the full-size graph.
int32_t GraphPpi(int32_t patternHeight, int32_t ppi);

// A 256 x 256 graph (scaled by GraphPpi) with its top-left corner at (x, y).
// Its background and grey wedges go to `shades`, its lines to `canvas`: the
// preview inside the window maps the one and leaves the lines as they are.
void DrawCurveGraph(TCanvas& canvas, TCanvas& shades, int32_t x, int32_t y, TColor background, bool showPoint,
                    int32_t patternHeight, int32_t ppi);
inline void DrawCurveGraph(TCanvas& canvas, int32_t x, int32_t y, TColor background, bool showPoint,
                           int32_t patternHeight, int32_t ppi) {
  DrawCurveGraph(canvas, canvas, x, y, background, showPoint, patternHeight, ppi);
}

// The graph of WorkRamp with its grid, axis wedges, the point ticks of the
// edited display and, optionally, the line of the edited point.
#pragma once

#include <cstdint>

#include "paint/canvas.h"

// The pixels per inch that the graph is drawn at: `ppi`, or less when the
// pattern area is too low for the full-size graph.
int32_t GraphPpi(int32_t patternHeight, int32_t ppi);

// A 256 x 256 graph (scaled by GraphPpi) with its top-left corner at (x, y).
void DrawCurveGraph(TCanvas& canvas, int32_t x, int32_t y, TColor background, bool showPoint,
                    int32_t patternHeight, int32_t ppi);

// The pattern of the current page, as the calibration window's paint handler
// draws it over the page's window colour.
#pragma once

#include <cstdint>

#include "paint/canvas.h"
#include "paint/pages.h"
#include "paint/ramp_preview.h"
#include "ramp/records.h"

// The bottom bar's height at 96 DPI: the pattern ends where the bar begins.
constexpr int32_t BarDesignHeight = 53;

// Draws the pattern of CurrentPage as its record says: the curve graph, the
// page's painter, then the side wedges. `patternHeight` is the top of the
// bottom bar; `reference` may be null. With `preview`, everything but the
// graph's lines is drawn through it (the preview inside the window).
void PaintPagePattern(TCanvas& canvas, int32_t ppi, int32_t clientWidth, TDisplayHandle displayDC,
                      const TBitmap* reference, int32_t patternHeight, const TLevelMap* preview = nullptr);

// White-to-black and black-to-white wedges down the left and right edges.
void DrawSideWedges(TCanvas& canvas, int32_t ppi, int32_t clientWidth, int32_t patternHeight);

// The full-screen pattern of each calibration page, drawn over the page's
// window colour. Sizes are designed at 96 pixels per inch and scaled to `ppi`;
// `patternHeight` is the height above the bottom bar and picks the small or
// large variant of a pattern; `level` is the edited point.
#pragma once

#include <cstdint>

#include "paint/canvas.h"

// Nine squares at levels 1..9, each labelled "(n,n,n)" above it.
void PaintBlackPointPage(TCanvas& canvas, int32_t ppi);
// Nine squares at levels 246..254, labelled the same way.
void PaintWhitePointPage(TCanvas& canvas, int32_t ppi);
// Reference squares, a centre line and a dither strip from 200 down to 10.
void PaintGammaPage(TCanvas& canvas, int32_t ppi, int32_t patternHeight);
// A block at `level` with a checkerboard of vertical and horizontal line tiles.
void PaintSharpPage(TCanvas& canvas, int32_t ppi, int32_t patternHeight, int32_t level);
// A black-to-white gradient with a dark and a light band.
void PaintColorBalancePage(TCanvas& canvas, int32_t ppi, int32_t clientWidth,
                           int32_t patternHeight);
// A block at `level` with grey and colour line tiles, dither strips and grey squares.
void PaintPointsPage(TCanvas& canvas, int32_t ppi, int32_t patternHeight, int32_t level);
// Squares 16 levels either side of `level` and a centre rectangle with four tiles.
void PaintGraysPage(TCanvas& canvas, int32_t ppi, int32_t patternHeight, int32_t level);
// A gradient over the page's range with a marker at `level`, and a dither
// strip around it.
void PaintHighlightsPage(TCanvas& canvas, int32_t ppi, int32_t clientWidth, int32_t patternHeight,
                         int32_t level);
void PaintShadowsPage(TCanvas& canvas, int32_t ppi, int32_t clientWidth, int32_t patternHeight,
                      int32_t level);
void PaintGradientPage(TCanvas& canvas, int32_t ppi, int32_t clientWidth, int32_t patternHeight,
                       int32_t level);

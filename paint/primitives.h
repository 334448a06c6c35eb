// The drawing routines that the page patterns are assembled from. Each draws
// on the canvas it is given with one-pixel pen lines or brush fills, in
// client pixels; sizes are positive.
#pragma once

#include <cstdint>

#include "paint/canvas.h"

// The level `step` of `steps` along the way from `start` to `end`, rounded
// half to even; only the low 8 bits count. Step 0 is `start`.
int32_t GradientLevel(int32_t start, int32_t end, int32_t step, int32_t steps);

// width + 1 vertical lines, height pixels long, from startColor at column x to
// endColor at column x + width.
void DrawHorizontalGradient(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                            TColor startColor, TColor endColor);
// height + 1 horizontal lines, width pixels long, from startColor at row y to
// endColor at row y + height.
void DrawVerticalGradient(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                          TColor startColor, TColor endColor);

// Alternating rows (columns) from y (x): rows y, y + 2, ... in evenColor and
// rows y + 1, y + 3, ... in oddColor, (height div 2) + 1 of each, so the tile
// is two rows taller than an even height.
void DrawRowStripes(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                    TColor evenColor, TColor oddColor);
void DrawColumnStripes(TCanvas& canvas, int32_t x, int32_t y, int32_t width, int32_t height,
                       TColor evenColor, TColor oddColor);

// `count` squares of `size` in a row from x, 4 pixels apart, the rightmost
// grey 255 and each one to its left 4 levels darker.
void DrawGreySquares(TCanvas& canvas, int32_t x, int32_t y, int32_t count, int32_t size);

// A grey strip 5 columnWidth wide from topLevel at row y to bottomLevel at row
// y + height (plus one row more), with red, green and blue columns over it in
// which one channel alternates the DitherPair of each row pair's level.
void DrawDitherGradient(TCanvas& canvas, int32_t x, int32_t y, int32_t columnWidth, int32_t height,
                        int32_t topLevel, int32_t bottomLevel);

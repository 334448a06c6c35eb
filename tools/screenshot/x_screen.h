// Pixels of an X screen as they are on it: what screenshots, window tests and
// benchmarks look at.
#pragma once

#include "tools/render/png_file.h"

struct _XDisplay;

// The root window's pixels in the rectangle, clipped to the screen; an empty
// image when the server does not give them.
TPixelImage GrabScreen(_XDisplay* display, int32_t left, int32_t top, int32_t width, int32_t height);
// The whole screen.
TPixelImage GrabScreen(_XDisplay* display);

// The Reference Image page's picture: a fresh copy of the decoded picture per
// paint, converted to the display's colour profile and centred on the display.
#pragma once

#include "paint/canvas.h"
#include "ramp/records.h"

// Draws nothing without a picture (null or empty). A picture larger than the
// display is cut by the canvas's edges.
void PaintReferenceImage(TCanvas& canvas, const TBitmap* reference, TDisplayHandle displayDC);

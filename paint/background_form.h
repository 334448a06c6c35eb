// The portable part of the background window that covers the whole desktop
// behind the calibration window: where it lies, whether it shows, and what
// it paints.
#pragma once

#include <cstdint>
#include <vector>

#include "paint/canvas.h"
#include "ramp/records.h"

// The window colour of the background on page `page`.
TColor BackgroundColor(int32_t page);

// The bounding rectangle of all monitors; empty without monitors.
TRect VirtualDesktop(const std::vector<TRect>& monitors);

struct TBackgroundPlacement {
  bool Visible = false;
  TRect Bounds;  // desktop coordinates
  bool operator==(const TBackgroundPlacement&) const = default;
};

// Shown only when there is more than one display; always over the virtual
// desktop of `monitors` (desktop coordinates, in the platform's order).
TBackgroundPlacement BackgroundPlacement(int32_t displayCount, const std::vector<TRect>& monitors);

// Paints the window that lies over `desktop`: everything in the colour of
// CurrentPage, and on the Color Balance page a black-to-white gradient half
// as wide and a quarter as high as each monitor, centred on it.
void PaintBackground(TCanvas& canvas, const TRect& desktop, const std::vector<TRect>& monitors);

// Where the windows go on Wayland, which lets no client place a window: each
// is fullscreen on an output, found by its connector name (the display's
// device name, "DP-1").
#pragma once

#include <cstdint>

class QScreen;
class QWidget;

// The output of display `index`; the first output when no output has its
// device name.
QScreen* OutputOfDisplay(int32_t index);

// Wayland tells each output's scale, not its DPI: scale 1 is 96 DPI.
int32_t OutputDpi(const QScreen& output);

// Shows `window` fullscreen on `output`, first taking it off another output
// (a shown window cannot move: the compositor keeps it where it went
// fullscreen).
void ShowFullScreenOn(QWidget& window, QScreen* output);

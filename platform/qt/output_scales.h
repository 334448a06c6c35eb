// Each Wayland output's scale, asked of the compositor itself before Qt
// connects: Qt 6.4 draws a window at its output's buffer scale whatever
// QT_ENABLE_HIGHDPI_SCALING says, and only a screen factor set before it
// starts (QT_SCREEN_SCALE_FACTORS) brings one window pixel back to one screen
// pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TOutputScale {
  std::string Name;  // the connector name, as Qt names the screen
  // Pixels per logical unit: 1.5 on an output at scale 1.5, whose buffer
  // scale (what Qt's Wayland platform draws at) is the 2 it is rounded up to.
  double Scale = 1;
  int32_t BufferScale = 1;
};

// The outputs of the compositor at WAYLAND_DISPLAY as they were when first
// asked; none when it cannot be reached.
const std::vector<TOutputScale>& StartOutputScales();

// QT_SCREEN_SCALE_FACTORS for `outputs`: 1 / scale for each output not at
// scale 1, empty when all are.
std::string ScreenScaleFactors(const std::vector<TOutputScale>& outputs);

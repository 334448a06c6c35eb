// Reading the ramp a display shows now: an X output's CRTC gamma through
// RandR (brought to 256 entries when the card keeps another size), or, with
// TONEMARK_SIM set, a simulated display's ramp<n>.txt in that folder (absent:
// the linear ramp). The watch keeps its own X connection, which asks for no
// events, so that its replies never hold back the display watch's.
#pragma once

#include <stdint.h>

#include "loader/shown_file.h"

struct xcb_connection_t;

struct TPresentRamps {
  xcb_connection_t* Connection = nullptr;
  uint32_t Root = 0;
  uint32_t Crtc[MostWatchedDisplays] = {};  // found for each display of Tonemark.shown; 0: not yet
};

// Connects to the X server when there is one; without it only simulated
// displays can be read.
void OpenPresentRamps(TPresentRamps& ramps);

// Forgets which CRTC drives which output (the configuration or the file changed).
void ForgetCrtcs(TPresentRamps& ramps);

// The present ramp of display `index` of the file; false when it cannot be read.
bool ReadPresentRamp(TPresentRamps& ramps, int index, const TShownDisplay& display, uint16_t* ramp);

void ClosePresentRamps(TPresentRamps& ramps);

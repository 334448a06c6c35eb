// Reading the ramp a display shows now: an X output's CRTC gamma through
// RandR (brought to 256 entries when the card keeps another size), or, with
// TONEMARK_SIM set, a simulated display's ramp<n>.txt in that folder (absent:
// the linear ramp). The requests go over the display watch's X connection:
// a look reads its replies there, and with them any event that came first,
// so the loop hands those to the display watch after each look.
#pragma once

#include <stdint.h>

#include "loader/shown_file.h"

struct TDisplayWatch;

struct TPresentRamps {
  const TDisplayWatch* Display = nullptr;  // its connection is dropped when the X server ends
  uint32_t Crtc[MostWatchedDisplays] = {};  // found for each display of Tonemark.shown; 0: not yet
};

// Without an X connection only simulated displays can be read.
void OpenPresentRamps(TPresentRamps& ramps, const TDisplayWatch& display);

// Forgets which CRTC drives which output (the configuration or the file changed).
void ForgetCrtcs(TPresentRamps& ramps);

// The present ramp of display `index` of the file; false when it cannot be read.
bool ReadPresentRamp(TPresentRamps& ramps, int index, const TShownDisplay& display, uint16_t* ramp);

void ClosePresentRamps(TPresentRamps& ramps);

// Judging a ramp before it reaches a video card with nobody there to undo it.
#pragma once

#include "ramp/records.h"

// True when the ramp takes almost every level to black, or almost every level
// to white, on all three channels: a display loaded with it shows next to
// nothing that could lead its user back.
bool LeavesDisplayNearlyUniform(const TGammaRamp& ramp);

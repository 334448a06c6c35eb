// Load mode: every display's stored curve applied to its video card, the ramp
// moving there in small steps rather than in one jump.
#pragma once

#include <cstdint>
#include <string>

// Reads each display's curve file from `folder` and steps all displays
// together toward their ramps (the linear ramp without a file), 10 ms apart,
// until all have arrived. A curve file that cannot be read leaves its display
// with the ramp it has; once the others are done, TFileError is thrown naming
// every such file. Returns true otherwise.
bool LoadCurves(const std::string& folder);

// Moves a ramp entry half its gap toward the target, at most 512; a gap of at
// most 513 is closed at once. True only for such a counted step.
bool StepToward(uint16_t& entry, uint16_t target);

// Reading and loading the edited displays' ramps: the editor's side of the
// video cards. Every operation returns false, touching nothing, for an index
// that is not a display.
#pragma once

#include <cstdint>

// Reads every display's present ramp into SavedRamps. A display whose ramp
// cannot be read gets the linear ramp there, so that RestoreRamps never loads
// an all-black ramp into it. From here on the ramps are on trial: the ramp
// guardian holds them until RestoreRamps or KeepRamps.
void SaveRamps();
// Loads SavedRamps back into every display, display 0 first, and ends the trial.
void RestoreRamps();
// Ends the trial with the ramps loaded since SaveRamps staying.
void KeepRamps();
// True from SaveRamps until RestoreRamps or KeepRamps.
bool RampsOnTrial();
// Builds Curves[index] into WorkRamp and loads it into the display.
bool SetCurveRamp(int32_t index);
// Loads the linear ramp (level x 256) into the display; WorkRamp keeps the
// calibration so the curve graph still shows it.
bool SetLinearRamp(int32_t index);
// Makes the display the edited one and reads its ramp into WorkRamp; a failed
// read leaves WorkRamp as it was.
bool ReadDisplayRamp(int32_t index);

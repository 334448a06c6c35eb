// The colour profiles that tonemark itself writes (load mode, where the
// desktop keeps the calibration from profiles and one is missing). lcms2 is
// opened with dlopen only then: tonemark binds only the C library at start.
#pragma once

#include <string>

#include "ramp/records.h"

// CalibrationProfileBytes (profile/display_profile.h) once lcms2 is open;
// throws TProfileError when it cannot be.
std::string CalibrationProfileOnDemand(const TRampCurve& curve, const TDisplay& display);

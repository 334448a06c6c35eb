// A calibration turned into an ICC display profile (version 2.4, matrix and
// tone curves) that carries the video card's ramp in its 'vcgt' tag, so that
// the system's colour management can load it and colour-managed programs know
// what the calibrated display does.
#pragma once

#include <stdexcept>
#include <string>

#include "ramp/edid_chromaticity.h"
#include "ramp/records.h"

inline const char* const ProfileCopyright = "No copyright, use freely. Made with Tonemark.";

struct TProfileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The profile file's bytes: 'vcgt' holds BuildRamp's ramp of `curve` entry for
// entry, the colorants and white point are `colours`, every channel's tone
// curve is the response of the record's target standard. `displayName` goes
// into the device model tag when not empty. Throws TProfileError when lcms2
// fails.
std::string DisplayProfileBytes(TRampCurve curve, const TDisplayColours& colours,
                                const std::string& description, const std::string& displayName);

// "<display name>, Tonemark <date>", or "Tonemark <date>" without a name.
std::string ProfileDescription(const std::string& displayName, const std::string& date);

// The EDID's colours when they are plausible, else sRGB's.
TDisplayColours ProfileColours(const TEdid& edid);

// The profile of a display's stored calibration, as tonemark-profile
// --display writes it: the display's EDID colours, its name and today's date.
std::string CalibrationProfileBytes(const TRampCurve& curve, const TDisplay& display);

// A system that loads each display's default colour profile into its video
// card itself (Windows with "Use Windows display calibration" on) loads the
// profile's 'vcgt' over whatever Tonemark loaded, at log-on and after display
// changes. What that means for a display, from the profile's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ramp/records.h"

// The default profile that the system loads for a display.
struct TSystemProfile {
  std::string Name;   // as the system names it ("Tonemark1.icc"); empty: none
  std::string Bytes;  // the file's bytes; empty when it could not be read
};

// True when Tonemark wrote the profile (its copyright text says so).
bool MadeWithTonemark(const std::string& profileBytes);

// The ramp in the profile's 'vcgt' table; nothing when it has none, or one
// that is not a table of 256 entries per channel.
std::optional<TGammaRamp> ProfileVideoCardRamp(const std::string& profileBytes);

// The user's notice for display `index`, whose default profile the system
// loads, given the ramp Tonemark stored for it: empty when the profile is
// Tonemark's and holds that very ramp.
std::string SystemProfileNotice(int32_t index, const TSystemProfile& profile, const TGammaRamp& stored);

// The ramp that load mode gives display `index` from the curve file in
// `folder` (the linear ramp without one); nothing when the file cannot be read.
std::optional<TGammaRamp> StoredRampOf(const std::string& folder, int32_t index);

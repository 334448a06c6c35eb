// ramp<n>.txt: 768 decimal integers separated by white space, red 0..255,
// then green, then blue.
#pragma once

#include <filesystem>
#include <string>

#include "ramp/records.h"

// Reads exactly 768 values of 0..65535; false for anything else.
bool ReadRampFile(const std::filesystem::path& path, TGammaRamp& ramp);
// One channel per line, values separated by blanks.
std::string RampFileText(const TGammaRamp& ramp);
// The 768 values on one line, as the log shows them.
std::string RampValues(const TGammaRamp& ramp);

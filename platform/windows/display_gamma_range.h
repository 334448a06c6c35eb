// GdiIcmGammaRange: the machine-wide registry value with which Windows lets
// programs load ramps far from the identity. Without it (or below 256) GDI
// refuses such ramps, sometimes saying so and sometimes not.
#pragma once

#include <optional>
#include <string>

// HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\ICM
inline const char* const GammaRangeKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ICM";
inline const char* const GammaRangeValue = "GdiIcmGammaRange";
// The value that lifts the limit altogether.
constexpr unsigned long WholeGammaRange = 256;

// The value as the registry holds it now; nothing when it is absent or not a DWORD.
std::optional<unsigned long> SystemGammaRange();

// What the user can do about a refused ramp, given the value: set it, or,
// where it is set, restart Windows, which reads it only as it starts.
std::string GammaRangeAdvice(std::optional<unsigned long> range);

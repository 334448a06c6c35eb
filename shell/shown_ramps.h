// Tonemark.shown: what every display showed after the last load run, by its
// monitor's identity, for Tonewatch to compare the present ramps with. Ini
// text, one section per display in the run's order:
//
//   [Display1]
//   Identity=DEL40B5+0000A1B2++DELL%20U2720Q
//   Device=DP-1
//   Backend=x11
//   Curve=Tonemark2.lut
//   Loaded=1796823000
//   Result=kept
//   Reason=
//   Ramp=0 256 512 ...
//
// Result is kept, not-kept or refused; Reason says why for the last two; Ramp
// (768 values, red, green, blue) is what the display held when read back
// after a load that it kept, empty otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ramp/load_curves.h"

inline const char* const ShownRampsFileName = "Tonemark.shown";

struct TShownDisplay {
  std::string Identity, Device, Backend, Curve;
  int64_t Loaded = 0;
  std::string Result, Reason;
  std::string Ramp;
};

// One entry per display from a load run's report; `reasons` by display
// index, worded for the user (empty where there is nothing to say).
std::vector<TShownDisplay> ShownDisplays(const TLoadReport& report, const std::vector<std::string>& reasons,
                                         int64_t loadedAt);

// The file's text with every display in `shown`.
std::string ShownRampsText(const std::vector<TShownDisplay>& shown);
// `previous` (the file's text) with the section of `display`'s identity
// replaced, the others as they were; added at the end without one.
std::string ReplaceShownDisplay(const std::string& previous, const TShownDisplay& display);

// Writes the file in `folder` atomically; the problem, when there is one.
std::string WriteShownRamps(const std::string& folder, const std::vector<TShownDisplay>& shown);
std::string WriteShownDisplay(const std::string& folder, const TShownDisplay& display);

// Load mode: every display's stored curve applied to its video card, the ramp
// moving there in small steps rather than in one jump, then read back.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ramp/records.h"

// What a load found that its user should hear about, displays by index.
struct TLoadReport {
  // Loaded as stored, though the curve leaves the display almost uniformly
  // black or white.
  std::vector<int32_t> NearlyUniform;
  // The video card, read back after the last pass, does not hold the ramp
  // last loaded into it (or refused it when it could not be read back).
  std::vector<int32_t> NotKept;
  // Left alone: the display takes no ramp at all, for the reason given.
  std::vector<std::pair<int32_t, std::string>> Refused;
  // Loaded and verified, yet it may not show, for the reason given.
  std::vector<std::pair<int32_t, std::string>> InDoubt;
  // What the system will do to the loaded calibrations later, worded for
  // the user, one line each.
  std::vector<std::string> Notes;
  // By display index: the name of its own curve file, empty when it has none.
  std::vector<std::string> CurveFiles;
  // Given the linear ramp for want of a curve of its own, while curves of
  // monitors not connected are stored (a new or replaced monitor, most likely).
  std::vector<int32_t> WithoutOwnCurve;
  // Its curve file could not be read, for the reason given; left as it was.
  std::vector<std::pair<int32_t, std::string>> Unreadable;
  // What each display that could be read held after the load.
  std::vector<std::pair<int32_t, TGammaRamp>> ReadBack;
};

// Reads each display's curve file from `folder` and steps all displays
// together toward their ramps (the linear ramp without a file), 10 ms apart,
// until all have arrived, then reads every ramp back. A curve file that
// cannot be read leaves its display with the ramp it has; once the others are
// done, TFileError is thrown naming every such file. Returns false when a
// display did not keep its ramp, true otherwise.
bool LoadCurves(const std::string& folder, TLoadReport& report);
bool LoadCurves(const std::string& folder);
// Loads the curve of the display at `index` alone, at once rather than
// stepwise, and reads it back. False when the display has no curve of its
// own (nothing is loaded then) or did not keep it; a curve file that cannot be
// read throws TFileError.
bool ReapplyCurve(const std::string& folder, int32_t index, TLoadReport& report);
// The same steps toward the linear ramp on every display, reading no file.
bool LoadLinearRamps(TLoadReport& report);

// Moves a ramp entry half its gap toward the target, at most 512; a gap of at
// most 513 is closed at once. True only for such a counted step.
bool StepToward(uint16_t& entry, uint16_t target);

// Which curve file belongs to which monitor. Curve files keep their names
// (Tonemark<number>.lut); "Tonemark.monitors" beside them records the
// identity of each file's monitor, so that a monitor gets its own curve
// wherever the system lists it:
//
//   [Monitors]
//   Tonemark1.lut=DEL40B5+0000A1B2++DELL%20U2720Q
//
// A file the record does not name (stored before monitors had identities)
// goes by its number to the display in that place, as it always did, until
// the next OK records its monitor.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

inline const char* const MonitorsFileName = "Tonemark.monitors";

struct TCurveAssignment {
  // By display index: the number of its curve file, 0 when it has none of its own.
  std::vector<int32_t> Numbers;
  // Curve file number -> identity of its monitor, for the files that exist.
  std::map<int32_t, std::string> Owners;
  // Numbers of stored curves whose monitors are not connected.
  std::vector<int32_t> AbsentCurves;
};

// The record in `folder` (which ends with a delimiter) matched against the
// identities of Displays. A record that is missing or cannot be read counts
// as empty.
TCurveAssignment AssignCurveFiles(const std::string& folder);

// For OK: each display without a curve file of its own is given a number that
// no file and no monitor holds, and every display's number is recorded as its
// monitor's. The curves of monitors not connected keep theirs.
void ClaimCurveFiles(TCurveAssignment& assignment, const std::string& folder);

// The text of Tonemark.monitors for the assignment's owners.
std::string MonitorsFileText(const TCurveAssignment& assignment);

// "Tonemark<number>.lut".
std::string CurveFileName(int32_t number);
// The path of the display's own curve file; empty when it has none.
std::string AssignedCurvePath(const std::string& folder, const TCurveAssignment& assignment, int32_t index);
// The same, matching the record afresh.
std::string DisplayCurvePath(const std::string& folder, int32_t index);

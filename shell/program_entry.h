// Tonemark's entry, shared by every system's main().
#pragma once

#include <functional>
#include <string>
#include <vector>

// Runs the calibration window until it closes. The window issues supply it;
// a build without one passes an empty function.
using TWindowEntry = std::function<void()>;

inline const char* const NoDisplayMessage =
    "No display was found whose gamma ramp Tonemark can set, so there is nothing to calibrate.";
inline const char* const NoWindowMessage =
    "The calibration window is not available in this build of Tonemark.";

// Finds the displays, prepares the run and carries out the mode chosen by
// args[1]; args[0] is the program's own path. The displays port must be set.
// Returns the process's exit code: 0, or 1 after an error, which is shown in
// a message box first.
int ProgramEntry(const std::vector<std::string>& args, const TWindowEntry& runWindow);

// Starting Tonemark in load mode, and keeping the resident loader small.
#pragma once

#include <string>

// The full path of the running executable.
std::string OwnProgramPath();

// Starts "<own folder>Tonemark.exe" /load without waiting for it; a failure to
// start it is not reported.
void LaunchLoadMode();

// Asks the system to take as many pages as it can out of the working set.
void TrimWorkingSet();

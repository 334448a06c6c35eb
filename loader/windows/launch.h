// Starting Tonemark in load mode, and keeping the resident loader small.
#pragma once

#include <windows.h>

#include <string>

// The full path of the running executable.
std::string OwnProgramPath();

// Starts "<own folder>Tonemark.exe" /load without waiting for it. Returns its
// process handle, nullptr when it could not be started (which is not reported).
HANDLE LaunchLoadMode();

// The same with TONEMARK_SAFE=1 in its environment: the linear ramp on every
// display, whatever the curve files say.
HANDLE LaunchSafeLoadMode();

// Starts "<own folder>Tonemark.exe": the calibration window.
void LaunchCalibration();

// Asks the system to take as many pages as it can out of the working set.
void TrimWorkingSet();

// What the watch needs of Windows: the data folder, a display's present ramp
// (GetDeviceGammaRamp on a DC for its device name, or a simulated display's
// ramp<n>.txt when TONEMARK_SIM is set), whether a calibration window is
// open (Tonemark's session mutex), the programs running (a toolhelp
// snapshot) and the re-load of one display.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "loader/watch_core.h"

// "<folder>\" of Tonemark.shown and Tonemark.settings: the loader's own folder
// for a portable copy, else the all-users data folder's Orvana\Tonemark\.
std::string DataFolder();

bool ReadPresentRamp(int index, const TShownDisplay& display, uint16_t* ramp);
bool CalibrationWindowOpen();
TRunningPrograms LookAtRunningPrograms(const char* leaveAloneList);

// Starts "<own folder>Tonemark.exe" /load /reapply <identity>; its process
// handle, nullptr when it could not be started.
HANDLE LaunchReapply(const char* identity);

// Finding the displays at program start: one TDisplay, one reset TRampCurve
// per monitor whose video card can be reached, numbered in the system's order.
#pragma once

#include <string>

#include "ramp/edid.h"
#include "ramp/records.h"

// Empties Displays and Curves and adds every monitor the system enumerates.
void EnumerateDisplays();
// Adds one monitor; a monitor whose display handle cannot be created is left
// out and gets no number. Always asks the enumeration to go on.
bool AddMonitor(TMonitorHandle monitor);
// Copies the first 128 bytes of the EDID kept for the model into `buffer`.
bool ReadEdid(const std::string& modelCode, TEdid& buffer);
// Releases every display handle, then empties Displays, Curves and SavedRamps.
void ReleaseDisplays();

// The model code inside a device ID "MONITOR\DEL40B5\{...}\0001": the text
// between the first two backslashes, or the whole ID without a second one.
std::string DeviceModelCode(const std::string& deviceId);

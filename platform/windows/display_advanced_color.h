// Whether Windows drives a monitor in HDR / advanced-colour mode, where it
// ignores gamma ramps (it takes them and shows none of them).
#pragma once

#include <string>

// True when the monitor on the GDI output `gdiDeviceName` ("\\.\DISPLAY1") is
// in advanced-colour mode; false when it is not or the system cannot say.
bool SystemAdvancedColorEnabled(const std::string& gdiDeviceName);

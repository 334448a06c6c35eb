// Whether Windows drives a monitor in an advanced-colour mode (HDR, or wide
// colour as under Windows 11's automatic colour management), where it takes
// gamma ramps and shows none of them.
#pragma once

#include <string>

enum class TAdvancedColor { Off, Hdr, WideColor, Unknown };

// The mode of the monitor on the GDI output `gdiDeviceName` ("\\.\DISPLAY1");
// Unknown when the system cannot say.
TAdvancedColor SystemAdvancedColor(const std::string& gdiDeviceName);

// Changes to the test's Xvfb made behind the backend's back, with plain Xlib.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Gives the server's first output an EDID property, as a monitor would.
void SetFirstOutputEdid(const std::vector<uint8_t>& edid);
void DeleteFirstOutputEdid();
// The first output's name, as xrandr lists it.
std::string FirstOutputName();

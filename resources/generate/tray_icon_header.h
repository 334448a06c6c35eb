// The notification-area icon's pixels as a C++ header for Tonewatch, which
// reads no picture file at run time.
#pragma once

#include <string>
#include <vector>

// Writes the emblem at each size as 0xAARRGGBB words (straight alpha).
void WriteTrayIconHeader(const std::string& heroPath, const std::string& headerPath, const std::vector<int>& sizes);

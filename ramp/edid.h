// Reading a monitor's identity out of its EDID base block.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int EdidBlockSize = 128;
using TEdid = std::array<uint8_t, EdidBlockSize>;

// The monitor name and serial number from the text descriptors, "name serial"
// trimmed; an unspecified-text descriptor stands in for a missing name.
std::string EdidDescription(const TEdid& edid);

// The model code that the system files a monitor under: the three-letter
// maker ID and the product code as four upper-case hex digits ("DEL40B5").
// Empty when the block carries no maker ID.
std::string EdidModelCode(const TEdid& edid);

// Removes blanks and control characters at both ends.
std::string TrimText(const std::string& text);

// What the window's preview inside itself should show on a simulated display
// that takes no live ramp: the pattern mapped through the ramp that the
// session last asked the display to load, as the display log has it.
// Shared by the window tests of both targets.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "paint/canvas.h"

// The values of the log's last "set <monitor> refused ..." line.
inline std::vector<uint32_t> LastRefusedRamp(const std::string& log, int monitor) {
  const std::string prefix = "set " + std::to_string(monitor) + " refused ";
  std::istringstream lines(log);
  std::string line, last;
  while (std::getline(lines, line))
    if (line.rfind(prefix, 0) == 0) last = line.substr(prefix.size());
  std::istringstream values(last);
  std::vector<uint32_t> ramp;
  for (uint32_t value; values >> value;) ramp.push_back(value);
  return ramp;
}

// Each channel's level v as (ramp[c][v] x 255 + 32767) / 65535; any picture
// with its pixels as colours in `Pixels`.
template <typename Picture>
Picture MappedThroughRamp(Picture picture, const std::vector<uint32_t>& ramp) {
  auto level = [&](int channel, int v) { return int32_t((ramp[channel * 256 + v] * 255 + 32767) / 65535); };
  for (TColor& pixel : picture.Pixels)
    pixel = RgbColor(level(0, RedOf(pixel)), level(1, GreenOf(pixel)), level(2, BlueOf(pixel)));
  return picture;
}

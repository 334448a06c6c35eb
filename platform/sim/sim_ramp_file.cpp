#include "platform/sim/sim_ramp_file.h"

#include <fstream>

bool ReadRampFile(const std::filesystem::path& path, TGammaRamp& ramp) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  TGammaRamp read{};
  for (uint16_t& entry : read) {
    long long value = -1;
    if (!(in >> value) || value < 0 || value > 65535) return false;
    entry = static_cast<uint16_t>(value);
  }
  std::string extra;
  if (in >> extra) return false;
  ramp = read;
  return true;
}

std::string RampValues(const TGammaRamp& ramp) {
  std::string text;
  text.reserve(ramp.size() * 6);
  for (size_t i = 0; i < ramp.size(); ++i) {
    if (i > 0) text += ' ';
    text += std::to_string(ramp[i]);
  }
  return text;
}

std::string RampFileText(const TGammaRamp& ramp) {
  std::string text;
  text.reserve(ramp.size() * 6);
  for (size_t i = 0; i < ramp.size(); ++i) {
    text += std::to_string(ramp[i]);
    text += (i + 1) % LevelCount == 0 ? '\n' : ' ';
  }
  return text;
}

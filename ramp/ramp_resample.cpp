#include "ramp/ramp_resample.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

std::vector<uint16_t> ResampleChannel(const std::vector<uint16_t>& source, int size) {
  std::vector<uint16_t> result(size > 0 ? size : 0);
  if (source.empty() || result.empty()) return result;
  if (source.size() == 1 || size == 1) {
    result.assign(result.size(), source.front());
    return result;
  }
  const double scale = static_cast<double>(source.size() - 1) / (size - 1);
  for (int i = 0; i < size; ++i) {
    const double position = i * scale;
    const size_t below = static_cast<size_t>(position);
    if (below + 1 >= source.size()) {
      result[i] = source.back();
      continue;
    }
    const double fraction = position - below;
    const double value = source[below] + (source[below + 1] - source[below]) * fraction;
    result[i] = static_cast<uint16_t>(std::lround(value));
  }
  return result;
}

std::vector<uint16_t> RampToCardEntries(const TGammaRamp& ramp, int size) {
  std::vector<uint16_t> entries;
  for (int c = 0; c < 3; ++c) {
    const std::vector<uint16_t> levels(ramp.begin() + c * LevelCount, ramp.begin() + (c + 1) * LevelCount);
    const std::vector<uint16_t> channel = size == LevelCount ? levels : ResampleChannel(levels, size);
    entries.insert(entries.end(), channel.begin(), channel.end());
  }
  return entries;
}

TGammaRamp RampFromCardEntries(const std::vector<uint16_t>& entries, int size) {
  TGammaRamp ramp{};
  if (size <= 0 || entries.size() < static_cast<size_t>(3 * size)) return ramp;
  for (int c = 0; c < 3; ++c) {
    const std::vector<uint16_t> channel(entries.begin() + c * size, entries.begin() + (c + 1) * size);
    const std::vector<uint16_t> levels = size == LevelCount ? channel : ResampleChannel(channel, LevelCount);
    std::copy(levels.begin(), levels.end(), ramp.begin() + c * LevelCount);
  }
  return ramp;
}

TGammaRamp ReadBackOf(const TGammaRamp& ramp, int size) {
  if (size == LevelCount || size <= 0) return ramp;
  return RampFromCardEntries(RampToCardEntries(ramp, size), size);
}

bool HeldAsLoaded(const TGammaRamp& held, const TGammaRamp& loaded) {
  // 8 bits, the coarsest precision, move an entry by less than this.
  constexpr int ReadBackPrecision = 256;
  for (size_t i = 0; i < held.size(); ++i)
    if (std::abs(int{held[i]} - int{loaded[i]}) >= ReadBackPrecision) return false;
  return true;
}

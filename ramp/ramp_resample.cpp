#include "ramp/ramp_resample.h"

#include <cmath>

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

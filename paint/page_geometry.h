// Measures that several page painters share.
#pragma once

#include <cstdint>

#include "paint/scaling.h"

// The pattern height scaled once more, as the size variants compare it.
inline int32_t ScaledHeight(int32_t patternHeight, int32_t ppi) {
  return Scale(patternHeight, ppi);
}

// Whether the pattern area is high enough for the large variant of a pattern.
inline bool LargeVariant(int32_t patternHeight, int32_t ppi) {
  constexpr int32_t LargeVariantMinHeight = 720;
  return ScaledHeight(patternHeight, ppi) >= LargeVariantMinHeight;
}

// A target standard's response (signal to linear light) as an lcms2 tone curve.
#pragma once

#include <lcms2.h>

#include <cstdint>

// The decoding curve of standard `index` (the list of the standard selector),
// Gamma 2.2's for an index outside it. The caller frees it with
// cmsFreeToneCurve; null only when lcms2 runs out of memory.
cmsToneCurve* StandardToneCurve(int32_t index);

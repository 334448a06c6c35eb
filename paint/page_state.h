// What the calibration window shows, as the patterns read it. The window
// writes these; the painters and the background window only read them.
#pragma once

#include <cstdint>

constexpr int32_t PageCount = 13;

// Ordinal 0..12 of the page shown, equal to its tab index.
extern int32_t CurrentPage;
// Index 0..13 of the target standard whose transfer functions the patterns
// use; any other value behaves as Gamma 2.2.
extern int32_t CurrentStandard;

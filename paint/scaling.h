// Rounding, DPI scaling and centring on the edited display, as every pattern
// measures its geometry.
#pragma once

#include <cstdint>

// Nearest integer, halves to the even neighbour.
int64_t RoundHalfEven(long double value);

// value x numerator / denominator through a 64-bit product, rounded to the
// nearest integer with halves away from zero, as the platform's MulDiv; -1
// when denominator is 0.
int32_t MulDivRounded(int32_t value, int32_t numerator, int32_t denominator);

// Every size of the window and the patterns is designed at this DPI.
constexpr int32_t DesignDpi = 96;

// A size designed at DesignDpi pixels per inch, at `ppi`.
int32_t Scale(int32_t value, int32_t ppi);

// Left (top) coordinate that centres `width` (`height`) on the monitor
// rectangle of Displays[CurrentDisplay]; each half is truncated on its own.
// Without such a display the rectangle is empty.
int32_t CenteredLeft(int32_t width);
int32_t CenteredTop(int32_t height);

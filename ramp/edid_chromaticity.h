// The colours a monitor reports in its EDID base block: the CIE 1931 x, y of
// its red, green and blue primaries and of its white point.
#pragma once

#include "ramp/edid.h"

struct TChromaticity {
  double X = 0, Y = 0;
  bool operator==(const TChromaticity&) const = default;
};

struct TDisplayColours {
  TChromaticity Red, Green, Blue, White;
  bool operator==(const TDisplayColours&) const = default;
};

// The ten bytes at offset 25 decoded: 10-bit fixed-point fractions (value / 1024).
TDisplayColours EdidColours(const TEdid& edid);

// True when the colours can describe a real display: every coordinate inside
// the chromaticity diagram's square with x + y below 1, the primaries spanning
// a proper triangle, and the white point inside it. An EDID that leaves the
// block zero, or fills it with nonsense, fails.
bool ArePlausibleColours(const TDisplayColours& colours);

// sRGB's primaries and its D65 white point.
TDisplayColours SrgbColours();

#include "ramp/edid_chromaticity.h"

namespace {

constexpr int LowBitsOffset = 25;   // two bytes of 2-bit low parts
constexpr int HighBitsOffset = 27;  // eight bytes of 8-bit high parts
constexpr double FixedPointScale = 1024;

// A triangle narrower than this (in the x, y plane; sRGB's is 0.112) is a
// block of noise rather than a display's gamut.
constexpr double MinimumGamutArea = 0.01;

// Coordinate k (0 red x, 1 red y, 2 green x, ... 7 white y): its high eight
// bits have a byte of their own, its low two sit in byte 25 or 26, most
// significant pair first.
double Coordinate(const TEdid& edid, int k) {
  const int low = (edid[LowBitsOffset + k / 4] >> (6 - 2 * (k % 4))) & 0x3;
  return ((edid[HighBitsOffset + k] << 2) | low) / FixedPointScale;
}

bool InsideUnitTriangle(const TChromaticity& c) {
  return c.X > 0 && c.Y > 0 && c.X + c.Y < 1;
}

// Twice the signed area of the triangle a, b, c.
double Cross(const TChromaticity& a, const TChromaticity& b, const TChromaticity& c) {
  return (b.X - a.X) * (c.Y - a.Y) - (b.Y - a.Y) * (c.X - a.X);
}

}  // namespace

TDisplayColours EdidColours(const TEdid& edid) {
  return {{Coordinate(edid, 0), Coordinate(edid, 1)},
          {Coordinate(edid, 2), Coordinate(edid, 3)},
          {Coordinate(edid, 4), Coordinate(edid, 5)},
          {Coordinate(edid, 6), Coordinate(edid, 7)}};
}

bool ArePlausibleColours(const TDisplayColours& c) {
  for (const TChromaticity& each : {c.Red, c.Green, c.Blue, c.White}) {
    if (!InsideUnitTriangle(each)) return false;
  }
  // Red, green, blue run counter-clockwise round every real gamut.
  const double area = Cross(c.Red, c.Green, c.Blue);
  if (area / 2 < MinimumGamutArea) return false;
  return Cross(c.Red, c.Green, c.White) > 0 && Cross(c.Green, c.Blue, c.White) > 0 &&
         Cross(c.Blue, c.Red, c.White) > 0;
}

TDisplayColours SrgbColours() {
  return {{0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}, {0.3127, 0.3290}};
}

#include <gtest/gtest.h>

#include "ramp/edid_chromaticity.h"

namespace {

// Bytes 25..34 of a typical sRGB monitor's EDID; every coordinate's low bits
// differ from its neighbours', so a misplaced bit pair shows.
constexpr uint8_t SrgbMonitor[] = {0xEE, 0x91, 0xA3, 0x54, 0x4C, 0x99, 0x26, 0x0F, 0x50, 0x54};
// A wide-gamut panel's: red 0.6797/0.3086, green 0.2090/0.7100, blue 0.1494/0.0498.
constexpr uint8_t WideGamut[] = {0x0B, 0x73, 0xAE, 0x4F, 0x35, 0xB5, 0x26, 0x0C, 0x50, 0x54};

TEdid WithColours(const uint8_t (&bytes)[10]) {
  TEdid edid{};
  std::copy(std::begin(bytes), std::end(bytes), edid.begin() + 25);
  return edid;
}

TEST(EdidColours, DecodesTenBitFractions) {
  const TDisplayColours srgb = EdidColours(WithColours(SrgbMonitor));
  EXPECT_EQ(srgb.Red, (TChromaticity{655 / 1024.0, 338 / 1024.0}));
  EXPECT_EQ(srgb.Green, (TChromaticity{307 / 1024.0, 614 / 1024.0}));
  EXPECT_EQ(srgb.Blue, (TChromaticity{154 / 1024.0, 61 / 1024.0}));
  EXPECT_EQ(srgb.White, (TChromaticity{320 / 1024.0, 337 / 1024.0}));

  const TDisplayColours wide = EdidColours(WithColours(WideGamut));
  EXPECT_EQ(wide.Red, (TChromaticity{696 / 1024.0, 316 / 1024.0}));
  EXPECT_EQ(wide.Green, (TChromaticity{214 / 1024.0, 727 / 1024.0}));
  EXPECT_EQ(wide.Blue, (TChromaticity{153 / 1024.0, 51 / 1024.0}));
  EXPECT_EQ(wide.White, (TChromaticity{320 / 1024.0, 339 / 1024.0}));
}

TEST(EdidColours, OnlyARealGamutIsPlausible) {
  EXPECT_TRUE(ArePlausibleColours(EdidColours(WithColours(SrgbMonitor))));
  EXPECT_TRUE(ArePlausibleColours(EdidColours(WithColours(WideGamut))));
  EXPECT_TRUE(ArePlausibleColours(SrgbColours()));

  EXPECT_FALSE(ArePlausibleColours(EdidColours(TEdid{})));  // no colour data
  TEdid noise{};
  noise.fill(0xFF);
  EXPECT_FALSE(ArePlausibleColours(EdidColours(noise)));  // x + y beyond 1

  TDisplayColours c = SrgbColours();
  c.White = {0.70, 0.25};  // outside the triangle
  EXPECT_FALSE(ArePlausibleColours(c));
  c = SrgbColours();
  std::swap(c.Green, c.Blue);  // primaries in the wrong order
  EXPECT_FALSE(ArePlausibleColours(c));
  c = SrgbColours();
  c.Green = {0.40, 0.32};  // a sliver, not a gamut
  EXPECT_FALSE(ArePlausibleColours(c));
}

}  // namespace

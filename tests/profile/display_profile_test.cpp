#include <gtest/gtest.h>

#include <climits>

#include "paint/page_state.h"
#include "paint/target_standard.h"
#include "profile/display_profile.h"
#include "ramp/build_ramp.h"
#include "tests/profile/profile_reading.h"
#include "tests/temp_folder.h"

namespace {

// Bytes 25..34 of a wide-gamut panel's EDID.
constexpr uint8_t WideGamut[] = {0x0B, 0x73, 0xAE, 0x4F, 0x35, 0xB5, 0x26, 0x0C, 0x50, 0x54};
constexpr double TenBitStep = 1 / 1024.0;
// A version 2 profile stores a power curve's exponent in steps of 1/256.
constexpr double CurvePrecision = 1e-3;

TEdid WideGamutEdid() {
  TEdid edid{};
  std::copy(std::begin(WideGamut), std::end(WideGamut), edid.begin() + 25);
  return edid;
}

std::string ProfileOf(const TRampCurve& curve, const TEdid& edid = {}) {
  return DisplayProfileBytes(curve, ProfileColours(edid), "Desk, Tonemark 2024-05-01", "Desk");
}

TGammaRamp RampOf(TRampCurve curve) {
  TGammaRamp ramp{};
  BuildRamp(curve, ramp);
  return ramp;
}

void ExpectColoursNear(const TDisplayColours& actual, const TDisplayColours& expected, double tolerance) {
  const TChromaticity a[] = {actual.Red, actual.Green, actual.Blue, actual.White};
  const TChromaticity e[] = {expected.Red, expected.Green, expected.Blue, expected.White};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(a[i].X, e[i].X, tolerance) << "colour " << i;
    EXPECT_NEAR(a[i].Y, e[i].Y, tolerance) << "colour " << i;
  }
}

TEST(DisplayProfile, VideoCardTableIsBuildRampsRampInBothReaders) {
  TRampCurve adjusted;
  adjusted.Standard = 3;
  adjusted.Gamma = 30, adjusted.GammaR = -20, adjusted.Black = 12, adjusted.WhiteB = -40;
  adjusted.BalanceG = 25;
  // Correction points with values far past the ramp's range: entries clip.
  TRampCurve corrected = adjusted;
  for (auto [level, value] : {std::pair{0, 4000}, {60, INT_MAX}, {128, -300}, {200, INT_MIN}, {255, -90}}) {
    corrected.PointSet[level] = true;
    corrected.Point[level] = value;
  }
  corrected.PointG[128] = INT_MIN;
  corrected.BlackB = INT_MAX;

  TempFolder folder;
  int record = 0;
  for (const TRampCurve& curve : {TRampCurve{}, adjusted, corrected}) {
    const std::string bytes = ProfileOf(curve);
    const std::string path = folder.File("p" + std::to_string(record++) + ".icc");
    WriteBytes(path, bytes);
    const TGammaRamp expected = RampOf(curve);
    OpenedProfile profile = OpenProfile(bytes);
    ASSERT_TRUE(profile);
    EXPECT_EQ(cmsGetEncodedICCversion(profile.get()), 0x02400000u);
    EXPECT_EQ(cmsGetDeviceClass(profile.get()), cmsSigDisplayClass);
    EXPECT_EQ(VcgtThroughLcms(profile.get()), expected) << "record " << record;
    EXPECT_EQ(VcgtThroughIccdump(path), expected) << "record " << record;
  }
  // The extreme record does reach both ends of the range.
  const TGammaRamp extreme = RampOf(corrected);
  EXPECT_EQ(extreme[60], 65535);
  EXPECT_EQ(extreme[LevelCount + 128], 0);
}

// Compositors that load a profile's 'vcgt' themselves (Hyprland's icc=) read
// only its table form: 3 channels of 16-bit entries, not lcms2's formula.
TEST(DisplayProfile, VideoCardTableIsStoredAsATableOfThreeChannelsOf256SixteenBitEntries) {
  TRampCurve adjusted;
  adjusted.Gamma = 30;
  const std::string bytes = ProfileOf(adjusted);
  auto big32 = [&bytes](size_t at) {
    return uint32_t{uint8_t(bytes[at])} << 24 | uint32_t{uint8_t(bytes[at + 1])} << 16 |
           uint32_t{uint8_t(bytes[at + 2])} << 8 | uint32_t{uint8_t(bytes[at + 3])};
  };
  auto big16 = [&bytes](size_t at) { return uint16_t(uint8_t(bytes[at]) << 8 | uint8_t(bytes[at + 1])); };
  size_t vcgt = 0;
  for (uint32_t tag = 0; tag < big32(128); ++tag)
    if (bytes.compare(132 + 12 * tag, 4, "vcgt") == 0) vcgt = big32(132 + 12 * tag + 4);
  ASSERT_NE(vcgt, 0u);
  EXPECT_EQ(bytes.substr(vcgt, 4), "vcgt");
  EXPECT_EQ(big32(vcgt + 8), 0u) << "table, not formula";
  EXPECT_EQ(big16(vcgt + 12), 3) << "channels";
  EXPECT_EQ(big16(vcgt + 14), 256) << "entries";
  EXPECT_EQ(big16(vcgt + 16), 2) << "bytes per entry";
  EXPECT_EQ(big16(vcgt + 18 + 2 * 255), RampOf(adjusted)[255]);
}

TEST(DisplayProfile, PrimariesAndWhiteComeFromAPlausibleEdidElseSrgb) {
  OpenedProfile wide = OpenProfile(ProfileOf({}, WideGamutEdid()));
  ASSERT_TRUE(wide);
  ExpectColoursNear(ProfileColoursOf(wide.get()), EdidColours(WideGamutEdid()), TenBitStep / 8);

  TEdid noColours = WideGamutEdid();
  std::fill(noColours.begin() + 25, noColours.begin() + 35, 0);
  OpenedProfile fallback = OpenProfile(ProfileOf({}, noColours));
  ASSERT_TRUE(fallback);
  ExpectColoursNear(ProfileColoursOf(fallback.get()),
                    {{0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}, {0.3127, 0.3290}}, TenBitStep / 8);
}

TEST(DisplayProfile, ToneCurvesFollowTheRecordsTargetStandard) {
  const int32_t saved = CurrentStandard;
  for (int32_t standard : {0, 1, 2, 6, 7, 8, 12, 13, -1, StandardCount}) {
    TRampCurve curve;
    curve.Standard = standard;
    OpenedProfile profile = OpenProfile(ProfileOf(curve));
    ASSERT_TRUE(profile);
    const auto* response = static_cast<const cmsToneCurve*>(cmsReadTag(profile.get(), cmsSigGreenTRCTag));
    ASSERT_NE(response, nullptr);
    CurrentStandard = standard;
    for (double signal : {0.0, 0.02, 0.06, 0.2, 0.5, 0.9, 1.0}) {
      EXPECT_NEAR(cmsEvalToneCurveFloat(response, static_cast<float>(signal)),
                  static_cast<double>(StandardDecode(signal)), CurvePrecision)
          << "standard " << standard << " at " << signal;
    }
  }
  CurrentStandard = saved;
}

TEST(DisplayProfile, TextsNameTheDisplayTheDateAndTonemark) {
  EXPECT_EQ(ProfileDescription("Desk 42", "2024-05-01"), "Desk 42, Tonemark 2024-05-01");
  EXPECT_EQ(ProfileDescription("", "2024-05-01"), "Tonemark 2024-05-01");

  OpenedProfile profile = OpenProfile(
      DisplayProfileBytes({}, SrgbColours(), ProfileDescription("Caf\xE9 \x01", "2024-05-01"), "Caf\xE9"));
  ASSERT_TRUE(profile);
  EXPECT_EQ(TextTag(profile.get(), cmsSigProfileDescriptionTag), "Caf? ?, Tonemark 2024-05-01");
  EXPECT_EQ(TextTag(profile.get(), cmsSigDeviceModelDescTag), "Caf?");
  EXPECT_EQ(TextTag(profile.get(), cmsSigCopyrightTag), "No copyright, use freely. Made with Tonemark.");
}

}  // namespace

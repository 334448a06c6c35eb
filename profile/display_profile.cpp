#include "profile/display_profile.h"

#include <lcms2.h>

#include <memory>

#include "profile/profile_program.h"
#include "profile/standard_tone_curve.h"
#include "ramp/build_ramp.h"

namespace {

constexpr double IccVersion = 2.4;

struct TProfileCloser {
  void operator()(void* profile) const { cmsCloseProfile(profile); }
};
struct TCurveFreer {
  void operator()(cmsToneCurve* curve) const { cmsFreeToneCurve(curve); }
};
struct TMluFreer {
  void operator()(cmsMLU* mlu) const { cmsMLUfree(mlu); }
};
using TProfile = std::unique_ptr<void, TProfileCloser>;
using TCurve = std::unique_ptr<cmsToneCurve, TCurveFreer>;

void Check(bool ok, const char* what) {
  if (!ok) throw TProfileError(std::string("The colour profile could not be made: ") + what);
}

// ICC text tags are plain ASCII in a version 2 profile.
std::string Printable(const std::string& text) {
  std::string kept;
  for (char c : text) kept.push_back(c >= ' ' && c <= '~' ? c : '?');
  return kept;
}

void WriteText(cmsHPROFILE profile, cmsTagSignature tag, const std::string& text) {
  std::unique_ptr<cmsMLU, TMluFreer> mlu(cmsMLUalloc(nullptr, 1));
  Check(mlu && cmsMLUsetASCII(mlu.get(), "en", "US", Printable(text).c_str()) &&
            cmsWriteTag(profile, tag, mlu.get()),
        "a text tag was refused");
}

cmsCIExyY Xy(const TChromaticity& c) { return {c.X, c.Y, 1.0}; }

// Each channel's 256 ramp entries as a 16-bit table, which lcms2 writes into
// 'vcgt' unchanged.
void WriteVideoCardTable(cmsHPROFILE profile, const TGammaRamp& ramp) {
  TCurve channels[3];
  for (int c = 0; c < 3; ++c) {
    channels[c].reset(cmsBuildTabulatedToneCurve16(nullptr, LevelCount, ramp.data() + c * LevelCount));
    Check(channels[c] != nullptr, "out of memory");
  }
  cmsToneCurve* table[3] = {channels[0].get(), channels[1].get(), channels[2].get()};
  Check(cmsWriteTag(profile, cmsSigVcgtTag, table), "the video card table was refused");
}

}  // namespace

std::string DisplayProfileBytes(TRampCurve curve, const TDisplayColours& colours,
                                const std::string& description, const std::string& displayName) {
  TGammaRamp ramp{};
  BuildRamp(curve, ramp);

  TCurve response(StandardToneCurve(curve.Standard));
  Check(response != nullptr, "out of memory");
  cmsToneCurve* responses[3] = {response.get(), response.get(), response.get()};
  const cmsCIExyY white = Xy(colours.White);
  const cmsCIExyYTRIPLE primaries = {Xy(colours.Red), Xy(colours.Green), Xy(colours.Blue)};
  // lcms2 adapts the colorants to D50 and records the adaptation in 'chad'.
  TProfile profile(cmsCreateRGBProfile(&white, &primaries, responses));
  Check(profile != nullptr, "the primaries do not form a colour space");
  cmsSetProfileVersion(profile.get(), IccVersion);

  // A version 2 profile names the display's own white, not D50, as its media white.
  cmsCIEXYZ whiteXyz;
  cmsxyY2XYZ(&whiteXyz, &white);
  Check(cmsWriteTag(profile.get(), cmsSigMediaWhitePointTag, &whiteXyz), "the white point was refused");
  WriteText(profile.get(), cmsSigProfileDescriptionTag, description);
  WriteText(profile.get(), cmsSigCopyrightTag, ProfileCopyright);
  if (!displayName.empty()) WriteText(profile.get(), cmsSigDeviceModelDescTag, displayName);
  WriteVideoCardTable(profile.get(), ramp);

  cmsUInt32Number size = 0;
  Check(cmsSaveProfileToMem(profile.get(), nullptr, &size) && size > 0, "it could not be encoded");
  std::string bytes(size, '\0');
  Check(cmsSaveProfileToMem(profile.get(), bytes.data(), &size), "it could not be encoded");
  bytes.resize(size);
  return bytes;
}

std::string ProfileDescription(const std::string& displayName, const std::string& date) {
  const std::string made = "Tonemark " + date;
  return displayName.empty() ? made : displayName + ", " + made;
}

TDisplayColours ProfileColours(const TEdid& edid) {
  const TDisplayColours colours = EdidColours(edid);
  return ArePlausibleColours(colours) ? colours : SrgbColours();
}

std::string CalibrationProfileBytes(const TRampCurve& curve, const TDisplay& display) {
  return DisplayProfileBytes(curve, ProfileColours(display.Edid), ProfileDescription(display.Description, TodayText()),
                             display.Description);
}

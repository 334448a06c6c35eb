// Reading a written profile back: through lcms2, and through Debian's
// independent iccdump.
#pragma once

#include <lcms2.h>

#include <array>
#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ramp/edid_chromaticity.h"
#include "ramp/records.h"

struct ProfileCloser {
  void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using OpenedProfile = std::unique_ptr<void, ProfileCloser>;

inline OpenedProfile OpenProfile(const std::string& bytes) {
  return OpenedProfile(cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size())));
}

// The 'vcgt' tables as lcms2 reads them, in the ramp's layout.
inline TGammaRamp VcgtThroughLcms(cmsHPROFILE profile) {
  TGammaRamp ramp{};
  auto* curves = static_cast<cmsToneCurve**>(cmsReadTag(profile, cmsSigVcgtTag));
  if (curves == nullptr) return ramp;
  for (int c = 0; c < 3; ++c)
    for (int level = 0; level < LevelCount; ++level)
      ramp[c * LevelCount + level] = cmsEvalToneCurve16(curves[c], static_cast<cmsUInt16Number>(level * 257));
  return ramp;
}

// The 'vcgt' tables as iccdump prints them: "channel #c" followed by "  level: value".
inline TGammaRamp VcgtThroughIccdump(const std::string& path) {
  TGammaRamp ramp{};
  const std::string command = "iccdump -v 3 -t vcgt '" + path + "' 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::ostringstream text;
  char buffer[4096];
  for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) text.write(buffer, n);
  std::istringstream lines(text.str());
  int channel = -1;
  for (std::string line; std::getline(lines, line);) {
    int level = 0;
    unsigned value = 0;
    if (std::sscanf(line.c_str(), " channel #%d", &channel) == 1) continue;
    if (channel >= 0 && channel < 3 && std::sscanf(line.c_str(), " %d: %u", &level, &value) == 2 &&
        level >= 0 && level < LevelCount) {
      ramp[channel * LevelCount + level] = static_cast<uint16_t>(value);
    }
  }
  return ramp;
}

inline TChromaticity XyOf(const cmsCIEXYZ& xyz) {
  const double sum = xyz.X + xyz.Y + xyz.Z;
  return {xyz.X / sum, xyz.Y / sum};
}

// The display's own primaries and white: the colorants are stored adapted to
// D50, and 'chad' holds the adaptation, whose inverse brings them back.
inline TDisplayColours ProfileColoursOf(cmsHPROFILE profile) {
  const auto* chad = static_cast<const double*>(cmsReadTag(profile, cmsSigChromaticAdaptationTag));
  const auto* white = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, cmsSigMediaWhitePointTag));
  if (chad == nullptr || white == nullptr) return {};
  const double(&m)[9] = *reinterpret_cast<const double(*)[9]>(chad);
  const double det = m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
                     m[2] * (m[3] * m[7] - m[4] * m[6]);
  const double inverse[9] = {(m[4] * m[8] - m[5] * m[7]) / det, (m[2] * m[7] - m[1] * m[8]) / det,
                             (m[1] * m[5] - m[2] * m[4]) / det, (m[5] * m[6] - m[3] * m[8]) / det,
                             (m[0] * m[8] - m[2] * m[6]) / det, (m[2] * m[3] - m[0] * m[5]) / det,
                             (m[3] * m[7] - m[4] * m[6]) / det, (m[1] * m[6] - m[0] * m[7]) / det,
                             (m[0] * m[4] - m[1] * m[3]) / det};
  auto native = [&](cmsTagSignature tag) {
    const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, tag));
    if (xyz == nullptr) return TChromaticity{};
    const double v[3] = {xyz->X, xyz->Y, xyz->Z};
    cmsCIEXYZ out{};
    double* o[3] = {&out.X, &out.Y, &out.Z};
    for (int r = 0; r < 3; ++r) *o[r] = inverse[3 * r] * v[0] + inverse[3 * r + 1] * v[1] + inverse[3 * r + 2] * v[2];
    return XyOf(out);
  };
  return {native(cmsSigRedColorantTag), native(cmsSigGreenColorantTag), native(cmsSigBlueColorantTag),
          XyOf(*white)};
}

inline std::string TextTag(cmsHPROFILE profile, cmsTagSignature tag) {
  const auto* mlu = static_cast<const cmsMLU*>(cmsReadTag(profile, tag));
  if (mlu == nullptr) return "";
  char text[256] = "";
  cmsMLUgetASCII(mlu, "en", "US", text, sizeof text);
  return text;
}

#include "platform/windows/color_mscms.h"

#include "platform/windows/win32.h"
#include <icm.h>

namespace {
constexpr DWORD ProfileNameCapacity = MAX_PATH;
// The transform as the system's own sRGB-to-display conversion makes it.
constexpr DWORD TransformFlags = BEST_MODE | ENABLE_GAMUT_CHECKING;
// LCS_SIGNATURE ("PSOC") and LCS_sRGB ("sRGB"), which the headers spell as
// multi-character constants.
constexpr DWORD ColorSpaceSignature = 0x50534F43;
constexpr LCSCSTYPE SrgbColorSpace = 0x73524742;
}  // namespace

bool TMscmsColorManagement::GetDisplayProfile(TDisplayHandle display, std::string& fileName) {
  char name[ProfileNameCapacity] = {};
  DWORD size = ProfileNameCapacity;
  if (!display || !GetICMProfileA(static_cast<HDC>(display), &size, name)) return false;
  fileName = name;
  return true;
}

TColorManagement::TProfile TMscmsColorManagement::OpenProfile(const std::string& fileName) {
  PROFILE reference{};
  reference.dwType = PROFILE_FILENAME;
  reference.pProfileData = const_cast<char*>(fileName.c_str());
  reference.cbDataSize = static_cast<DWORD>(fileName.size() + 1);  // with the terminating zero
  return OpenColorProfileA(&reference, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING);
}

TColorManagement::TTransform TMscmsColorManagement::CreateTransformFromSrgb(TProfile profile) {
  LOGCOLORSPACEA source{};
  source.lcsSignature = ColorSpaceSignature;
  source.lcsVersion = 0x400;
  source.lcsSize = sizeof(source);
  source.lcsCSType = SrgbColorSpace;
  source.lcsIntent = LCS_GM_GRAPHICS;
  return CreateColorTransformA(&source, static_cast<HPROFILE>(profile), nullptr, TransformFlags);
}

void TMscmsColorManagement::TranslateRow(TTransform transform, uint8_t* pixels, int32_t width) {
  // In place, one row of red, green, blue bytes; a failed row stays as decoded.
  TranslateBitmapBits(static_cast<HTRANSFORM>(transform), pixels, BM_RGBTRIPLETS, static_cast<DWORD>(width), 1, 0,
                      pixels, BM_RGBTRIPLETS, 0, nullptr, 0);
}

void TMscmsColorManagement::DeleteTransform(TTransform transform) {
  DeleteColorTransform(static_cast<HTRANSFORM>(transform));
}

void TMscmsColorManagement::CloseProfile(TProfile profile) { CloseColorProfile(static_cast<HPROFILE>(profile)); }

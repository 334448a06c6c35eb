#include "paint/mini_icm.h"

TColorManagement* DisplayColorManagement = nullptr;

namespace {

bool IsWholeRgbBitmap(const TBitmap& bitmap) {
  return bitmap.BitsPerPixel == 24 && bitmap.Width > 0 && bitmap.Height > 0 &&
         bitmap.Bits.size() >= size_t(bitmap.Width) * bitmap.Height * 3;
}

}  // namespace

void ApplyDisplayProfile(TBitmap& bitmap, TDisplayHandle displayDC) {
  TColorManagement* icm = DisplayColorManagement;
  if (!icm || !IsWholeRgbBitmap(bitmap)) return;
  std::string profileName;
  if (!icm->GetDisplayProfile(displayDC, profileName)) return;
  const TColorManagement::TProfile profile = icm->OpenProfile(profileName);
  if (!profile) return;
  const TColorManagement::TTransform transform = icm->CreateTransformFromSrgb(profile);
  if (!transform) {
    icm->CloseProfile(profile);
    return;
  }
  const size_t rowBytes = size_t(bitmap.Width) * 3;
  for (int32_t row = 0; row < bitmap.Height; ++row)
    icm->TranslateRow(transform, bitmap.Bits.data() + row * rowBytes, bitmap.Width);
  icm->DeleteTransform(transform);
  icm->CloseProfile(profile);
}

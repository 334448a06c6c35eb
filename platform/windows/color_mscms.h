// Colour management through the system's colour system (mscms): the profile
// that GDI associates with a display's device context and a transform from
// sRGB into it.
#pragma once

#include "paint/mini_icm.h"

class TMscmsColorManagement : public TColorManagement {
 public:
  // `display` is the display's GDI device context.
  bool GetDisplayProfile(TDisplayHandle display, std::string& fileName) override;
  TProfile OpenProfile(const std::string& fileName) override;
  TTransform CreateTransformFromSrgb(TProfile profile) override;
  void TranslateRow(TTransform transform, uint8_t* pixels, int32_t width) override;
  void DeleteTransform(TTransform transform) override;
  void CloseProfile(TProfile profile) override;
};

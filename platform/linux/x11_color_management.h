// Colour management on X11: the profile that the desktop assigns to a monitor
// lies in a property of the root window, "_ICC_PROFILE" for the first monitor
// and "_ICC_PROFILE_<n>" for monitor n counted from 0; lcms2 builds the
// transform from sRGB into it. A profile's "file name" here is the name of
// the property that holds it.
#pragma once

#include <optional>
#include <string>

#include "paint/mini_icm.h"

struct _XDisplay;

class TX11ColorManagement : public TColorManagement {
 public:
  // Reads from the X server named by `displayName` (null: $DISPLAY),
  // connecting when a profile is first asked for: most sessions show no
  // picture through it. Without a server no display has a profile.
  explicit TX11ColorManagement(const char* displayName = nullptr);
  ~TX11ColorManagement() override;
  TX11ColorManagement(const TX11ColorManagement&) = delete;
  TX11ColorManagement& operator=(const TX11ColorManagement&) = delete;

  bool GetDisplayProfile(TDisplayHandle display, std::string& fileName) override;
  TProfile OpenProfile(const std::string& fileName) override;
  TTransform CreateTransformFromSrgb(TProfile profile) override;
  void TranslateRow(TTransform transform, uint8_t* pixels, int32_t width) override;
  void DeleteTransform(TTransform transform) override;
  void CloseProfile(TProfile profile) override;

 private:
  _XDisplay* Connection();

  std::optional<std::string> displayName_;
  bool connected_ = false;
  _XDisplay* display_ = nullptr;
};

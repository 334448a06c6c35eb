// Colour management for the reference picture: the platform's port (the
// profile assigned to a display and a transform from sRGB into it, as flat
// operations over opaque handles) and the conversion that drives it.
#pragma once

#include <cstdint>
#include <string>

#include "paint/canvas.h"
#include "ramp/records.h"

class TColorManagement {
 public:
  using TProfile = void*;
  using TTransform = void*;

  virtual ~TColorManagement() = default;
  // The file name of the colour profile that the platform assigns to the
  // display; false when there is none.
  virtual bool GetDisplayProfile(TDisplayHandle display, std::string& fileName) = 0;
  // Opens an existing profile for reading; null when it cannot.
  virtual TProfile OpenProfile(const std::string& fileName) = 0;
  // A transform from sRGB (graphics intent) into `profile`; null when it cannot.
  virtual TTransform CreateTransformFromSrgb(TProfile profile) = 0;
  // Converts `width` pixels of red, green, blue bytes in place.
  virtual void TranslateRow(TTransform transform, uint8_t* pixels, int32_t width) = 0;
  virtual void DeleteTransform(TTransform transform) = 0;
  virtual void CloseProfile(TProfile profile) = 0;
};

// The platform's implementation, handed over at start; null: no colour
// management, pictures are drawn as decoded.
extern TColorManagement* DisplayColorManagement;

// Converts a 24-bit bitmap in place from sRGB into the colour space of the
// display's profile, one row at a time. Any other bitmap, a display without
// a profile, or a profile or transform that cannot be had leaves the bitmap
// as it was.
void ApplyDisplayProfile(TBitmap& bitmap, TDisplayHandle displayDC);

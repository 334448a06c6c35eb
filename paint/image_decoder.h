// The platform's JPEG decoder, through which the calibration window loads
// its reference photograph.
#pragma once

#include <string>

#include "paint/canvas.h"

class TImageDecoder {
 public:
  virtual ~TImageDecoder() = default;
  // Decodes the file at `path` into `bitmap` (24 bits per pixel for colour
  // pictures, 8 for grey ones); false, leaving `bitmap` untouched, when the
  // file cannot be read or is not a picture it can decode.
  virtual bool DecodeFile(const std::string& path, TBitmap& bitmap) = 0;
};

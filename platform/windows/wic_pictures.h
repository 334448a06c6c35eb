// Pictures through the Windows Imaging Component: the reference photograph
// from a JPEG file and the artwork from a PNG in the program's resources,
// both as 24-bit RGB (8-bit grey for grey pictures).
#pragma once

#include <string>

#include "paint/image_decoder.h"

class TWicJpegDecoder : public TImageDecoder {
 public:
  // Only JPEG files: anything else, however WIC could read it, is refused.
  bool DecodeFile(const std::string& path, TBitmap& bitmap) override;
};

// The PNG stored as the RCDATA resource `name` of the program; false, leaving
// `bitmap` untouched, when there is none or it does not decode.
bool DecodeResourcePng(const char* name, TBitmap& bitmap);

// Pictures decoded with the system's libraries: the reference photograph with
// libjpeg, the embedded artwork with libpng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "paint/image_decoder.h"

class TJpegDecoder : public TImageDecoder {
 public:
  // Colour pictures (CMYK ones too) give 24 bits per pixel, grey ones 8.
  bool DecodeFile(const std::string& path, TBitmap& bitmap) override;
};

// A PNG in memory as 24-bit RGB, whatever its own format (alpha is blended
// onto black); false, leaving `bitmap` untouched, when it does not decode.
bool DecodePng(const uint8_t* data, size_t size, TBitmap& bitmap);

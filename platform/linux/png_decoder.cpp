// PNG through libpng's simplified interface, which converts every format.
#include <png.h>

#include <new>

#include "platform/linux/picture_files.h"

bool DecodePng(const uint8_t* data, size_t size, TBitmap& bitmap) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) return false;
  image.format = PNG_FORMAT_RGB;
  TBitmap decoded;
  decoded.Width = static_cast<int32_t>(image.width);
  decoded.Height = static_cast<int32_t>(image.height);
  decoded.BitsPerPixel = 24;
  try {
    decoded.Bits.resize(size_t(image.width) * image.height * 3);
  } catch (const std::bad_alloc&) {
    png_image_free(&image);
    return false;
  }
  const png_color black{0, 0, 0};
  if (!png_image_finish_read(&image, &black, decoded.Bits.data(), 0, nullptr)) return false;
  bitmap = std::move(decoded);
  return true;
}

#include "tools/render/png_file.h"

#include <png.h>

#include <cstring>

bool WritePng(const std::string& path, const TPixelImage& image, std::string& error) {
  std::vector<uint8_t> rgb(size_t(image.Width) * image.Height * 3);
  for (size_t i = 0; i < image.Pixels.size(); ++i) {
    rgb[3 * i] = uint8_t(RedOf(image.Pixels[i]));
    rgb[3 * i + 1] = uint8_t(GreenOf(image.Pixels[i]));
    rgb[3 * i + 2] = uint8_t(BlueOf(image.Pixels[i]));
  }
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(image.Width);
  png.height = png_uint_32(image.Height);
  png.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&png, path.c_str(), 0, rgb.data(), 0, nullptr)) {
    error = "cannot write " + path + ": " + png.message;
    return false;
  }
  return true;
}

bool ReadPng(const std::string& path, TPixelImage& image, std::string& error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    error = "cannot read " + path + ": " + png.message;
    return false;
  }
  png.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) {
    error = "cannot decode " + path + ": " + png.message;
    png_image_free(&png);
    return false;
  }
  image.Width = int32_t(png.width);
  image.Height = int32_t(png.height);
  image.Pixels.resize(size_t(image.Width) * image.Height);
  for (size_t i = 0; i < image.Pixels.size(); ++i)
    image.Pixels[i] = RgbColor(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  return true;
}

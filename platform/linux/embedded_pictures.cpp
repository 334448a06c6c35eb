#include "platform/linux/embedded_pictures.h"

#include <cstdint>

#include "platform/linux/picture_files.h"

// The artwork's pixels as picture_pixels.cpp writes them from its PNG file at
// build time; CMake passes their path and rebuilds this file when the picture
// changes.
asm(".pushsection .rodata\n"
    "HeroPixelsStart:\n"
    ".incbin \"" TONEMARK_HERO_PIXELS_FILE "\"\n"
    "HeroPixelsEnd:\n"
    ".popsection\n");
extern "C" const uint8_t HeroPixelsStart[], HeroPixelsEnd[];

namespace {

constexpr const char* ArtworkResource = "heropng";
constexpr size_t HeaderSize = 8;

uint32_t WordAt(const uint8_t* bytes) {
  return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

}  // namespace

std::vector<std::string> EmbeddedPictureNames() { return {ArtworkResource}; }

bool LoadEmbeddedPicture(const std::string& name, TBitmap& bitmap) {
  if (name != ArtworkResource) return false;
  const auto size = static_cast<size_t>(HeroPixelsEnd - HeroPixelsStart);
  const uint32_t width = WordAt(HeroPixelsStart), height = WordAt(HeroPixelsStart + 4);
  if (size != HeaderSize + size_t(width) * height * 3) return false;
  bitmap.Width = static_cast<int32_t>(width);
  bitmap.Height = static_cast<int32_t>(height);
  bitmap.BitsPerPixel = 24;
  bitmap.Bits.assign(HeroPixelsStart + HeaderSize, HeroPixelsEnd);
  return true;
}

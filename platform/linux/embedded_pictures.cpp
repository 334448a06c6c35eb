#include "platform/linux/embedded_pictures.h"

#include <cstdint>

#include "platform/linux/picture_files.h"

// The artwork's PNG file, assembled in as it is; CMake passes its path and
// rebuilds this file when the picture changes.
asm(".pushsection .rodata\n"
    "HeroPngStart:\n"
    ".incbin \"" TONEMARK_HEROPNG_FILE "\"\n"
    "HeroPngEnd:\n"
    ".popsection\n");
extern "C" const uint8_t HeroPngStart[], HeroPngEnd[];

namespace {

constexpr const char* ArtworkResource = "heropng";

}  // namespace

std::vector<std::string> EmbeddedPictureNames() { return {ArtworkResource}; }

bool LoadEmbeddedPicture(const std::string& name, TBitmap& bitmap) {
  if (name != ArtworkResource) return false;
  return DecodePng(HeroPngStart, static_cast<size_t>(HeroPngEnd - HeroPngStart), bitmap);
}

// picture_pixels IN.png OUT: a build step. Writes the PNG's pixels as the
// program embeds them (embedded_pictures.cpp): the width and the height, 4
// bytes each, little-endian, then the rows of 24-bit RGB. Decoded once here,
// the artwork costs the window's start no inflating.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/linux/picture_files.h"

namespace {

void PutWord(std::ofstream& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.put(static_cast<char>(value >> shift & 0xFF));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: picture_pixels IN.png OUT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<uint8_t> png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TBitmap bitmap;
  if (!DecodePng(png.data(), png.size(), bitmap)) {
    std::fprintf(stderr, "picture_pixels: %s is no PNG that can be read\n", argv[1]);
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  PutWord(out, static_cast<uint32_t>(bitmap.Width));
  PutWord(out, static_cast<uint32_t>(bitmap.Height));
  out.write(reinterpret_cast<const char*>(bitmap.Bits.data()), static_cast<std::streamsize>(bitmap.Bits.size()));
  return out ? 0 : 1;
}

// png_pixels: what the real-compositor tests read in screenshots.
//   png_pixels at FILE X Y      the pixel's colour as RRGGBB
//   png_pixels size FILE        "WIDTH HEIGHT"
//   png_pixels differ SHOWN EXPECTED LEFT TOP WIDTH HEIGHT [RAMP]
//       how many pixels of the rectangle differ, EXPECTED's pixels first
//       shown through RAMP (curve_ramp's output: one channel a line, 256
//       16-bit entries each) as the window previews a calibration: level v
//       of channel c becomes (ramp[c][v] * 255 + 32767) / 65535
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/render/png_file.h"

namespace {

TPixelImage Read(const std::string& file) {
  TPixelImage image;
  std::string error;
  if (!ReadPng(file, image, error)) {
    std::cerr << "png_pixels: " << error << "\n";
    std::exit(2);
  }
  return image;
}

TColor At(const TPixelImage& image, int32_t x, int32_t y) {
  if (x < 0 || y < 0 || x >= image.Width || y >= image.Height) {
    std::cerr << "png_pixels: (" << x << ", " << y << ") lies outside the picture\n";
    std::exit(2);
  }
  return image.Pixels[size_t(y) * image.Width + x];
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "at" && argc == 5) {
    const TColor color = At(Read(argv[2]), std::stoi(argv[3]), std::stoi(argv[4]));
    std::printf("%02X%02X%02X\n", color & 0xFF, color >> 8 & 0xFF, color >> 16 & 0xFF);
    return 0;
  }
  if (command == "size" && argc == 3) {
    const TPixelImage image = Read(argv[2]);
    std::printf("%d %d\n", image.Width, image.Height);
    return 0;
  }
  if (command == "differ" && (argc == 8 || argc == 9)) {
    const TPixelImage shown = Read(argv[2]), expected = Read(argv[3]);
    const int32_t left = std::stoi(argv[4]), top = std::stoi(argv[5]);
    const int32_t width = std::stoi(argv[6]), height = std::stoi(argv[7]);
    std::array<std::array<uint32_t, 256>, 3> level{};
    for (uint32_t c = 0; c < 3; ++c)
      for (uint32_t v = 0; v < 256; ++v) level[c][v] = v;
    if (argc == 9) {
      std::ifstream ramp(argv[8]);
      for (auto& channel : level)
        for (uint32_t& entry : channel) {
          uint32_t value = 0;
          if (!(ramp >> value)) {
            std::cerr << "png_pixels: " << argv[8] << " holds no 768 ramp entries\n";
            return 2;
          }
          entry = (value * 255 + 32767) / 65535;
        }
    }
    int32_t differences = 0;
    for (int32_t y = top; y < top + height; ++y)
      for (int32_t x = left; x < left + width; ++x) {
        const TColor e = At(expected, x, y);
        const TColor mapped = level[0][e & 0xFF] | level[1][e >> 8 & 0xFF] << 8 | level[2][e >> 16 & 0xFF] << 16;
        if (At(shown, x, y) != mapped) ++differences;
      }
    std::printf("%d\n", differences);
    return 0;
  }
  std::cerr << "usage: png_pixels at FILE X Y | size FILE | differ SHOWN EXPECTED LEFT TOP WIDTH HEIGHT [RAMP]\n";
  return 2;
}

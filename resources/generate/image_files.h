// PNG and JPEG files of 8-bit pixels, written with settings fixed here so
// that the same pixels always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TPixels {
  int Width = 0;
  int Height = 0;
  int Channels = 0;            // 3: R, G, B; 4: with alpha
  std::vector<uint8_t> Bytes;  // rows from the top
};

// Each throws std::runtime_error naming the file when it fails.
void WritePng(const std::string& path, const TPixels& pixels);
TPixels ReadPng(const std::string& path);  // as stored: 3 or 4 channels
void WriteJpeg(const std::string& path, const TPixels& pixels, int quality);
TPixels ReadJpeg(const std::string& path);

// The bit depth and colour type in a PNG file's header, as stored.
struct TPngHeader {
  int BitDepth = 0;
  int ColourType = 0;  // 2: RGB, 6: RGB with alpha
};
TPngHeader ReadPngHeader(const std::string& path);

// 24-bit RGB PNG files of a raster canvas's pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "paint/canvas.h"

struct TPixelImage {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<TColor> Pixels;  // rows from the top
};

// Writes the pixels as an 8-bit-per-channel RGB PNG; false with `error` set
// when the file cannot be written.
bool WritePng(const std::string& path, const TPixelImage& image, std::string& error);

// Reads any PNG as RGB pixels; false with `error` set when it cannot.
bool ReadPng(const std::string& path, TPixelImage& image, std::string& error);

#include "resources/generate/self_check.h"

#include <cmath>
#include <stdexcept>

#include "resources/generate/hero_art.h"
#include "resources/generate/reference_photo.h"

namespace {

void Require(bool condition, const std::string& path, const std::string& what) {
  if (!condition) throw std::runtime_error(path + ": " + what);
}

// The mean colour of a patch, leaving out a border where the compression
// blurs it into its neighbours.
TRgb MeanInside(const TPixels& pixels, const TPatch& patch, int border) {
  double sum[3] = {};
  int count = 0;
  for (int y = patch.Top + border; y < patch.Bottom - border; ++y)
    for (int x = patch.Left + border; x < patch.Right - border; ++x, ++count)
      for (int c = 0; c < 3; ++c) sum[c] += pixels.Bytes[(size_t(y) * pixels.Width + x) * 3 + c];
  return {float(sum[0] / count), float(sum[1] / count), float(sum[2] / count)};
}

float LargestDifference(TRgb a, TRgb b) {
  return std::max({std::abs(a.R - b.R), std::abs(a.G - b.G), std::abs(a.B - b.B)});
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// Flat grey levels must come back within a fraction of a step, colours within
// what chroma subsampling costs a large patch.
float Tolerance(const TPatch& patch) {
  if (StartsWith(patch.Name, "near ")) return 0.6f;
  if (StartsWith(patch.Name, "grey ")) return 1.0f;
  return 3.0f;
}

}  // namespace

void CheckHero(const std::string& path, const TPixels& expected) {
  const TPngHeader header = ReadPngHeader(path);
  Require(header.BitDepth == 8 && header.ColourType == 2, path, "not 8-bit RGB without alpha");
  const TPixels pixels = ReadPng(path);
  Require(pixels.Width == HeroSize && pixels.Height == HeroSize, path, "wrong size");
  Require(pixels.Bytes == expected.Bytes, path, "pixels differ from the painted emblem");
  for (int step = 0; step < HeroWedgeSteps; ++step) {
    const int x = HeroWedgeLeft + step * HeroWedgeStep + HeroWedgeStep / 2;
    const size_t at = (size_t(HeroWedgeMiddle) * HeroSize + x) * 3;
    for (int c = 0; c < 3; ++c)
      Require(pixels.Bytes[at + c] == HeroWedgeLevel(step), path,
              "wedge step " + std::to_string(step) + " is not at its level");
  }
  Require(pixels.Bytes[0] == 0 && pixels.Bytes[1] == 0 && pixels.Bytes[2] == 0, path,
          "the corner outside the tile is not black");
}

void CheckReferencePhoto(const std::string& path) {
  const TPixels pixels = ReadJpeg(path);
  Require(pixels.Width == PhotoWidth && pixels.Height == PhotoHeight, path, "wrong size");
  Require(pixels.Channels == 3, path, "not a colour picture");
  float previousBlack = -1, previousWhite = -1;
  for (const TPatch& patch : PhotoPatches()) {
    const bool surround = patch.Name.find("surround") != std::string::npos;
    const TRgb mean = MeanInside(pixels, patch, surround ? 4 : 10);
    if (surround) continue;  // patches lie on it
    Require(LargestDifference(mean, patch.Colour) <= Tolerance(patch), path,
            patch.Name + " decodes to another colour");
    // Each step must stay apart from the one before, or the photograph
    // cannot show whether a display tells them apart.
    float& previous = StartsWith(patch.Name, "near black") ? previousBlack : previousWhite;
    if (StartsWith(patch.Name, "near ")) {
      Require(mean.G > previous + 0.5f, path, patch.Name + " is not above the step before");
      previous = mean.G;
    }
  }
}

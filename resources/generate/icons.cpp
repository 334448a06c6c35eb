#include "resources/generate/icons.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "resources/generate/hero_art.h"

namespace {

// How much of source pixel `source` lies in [from, to).
double Overlap(int source, double from, double to) {
  return std::max(0.0, std::min(source + 1.0, to) - std::max(double(source), from));
}

}  // namespace

TPixels MakeIcon(const TPixels& hero, int size) {
  if (hero.Width != HeroSize || hero.Height != HeroSize || hero.Channels != 3)
    throw std::runtime_error("the emblem is not a 512 x 512 RGB picture");
  const double scale = double(HeroSize) / size;
  TPixels icon{size, size, 4, std::vector<uint8_t>(size_t(size) * size * 4)};
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double colour[3] = {}, coverage = 0, area = 0;
      const double left = x * scale, top = y * scale;
      for (int sy = int(top); sy < std::min(HeroSize, int(std::ceil(top + scale))); ++sy)
        for (int sx = int(left); sx < std::min(HeroSize, int(std::ceil(left + scale))); ++sx) {
          const double weight = Overlap(sx, left, left + scale) * Overlap(sy, top, top + scale);
          const uint8_t* p = &hero.Bytes[(size_t(sy) * HeroSize + sx) * 3];
          for (int c = 0; c < 3; ++c) colour[c] += weight * p[c];
          coverage += weight * HeroTileCoverage(sx + 0.5f, sy + 0.5f);
          area += weight;
        }
      uint8_t* out = &icon.Bytes[(size_t(y) * size + x) * 4];
      const double alpha = coverage / area;
      for (int c = 0; c < 3; ++c)
        out[c] = uint8_t(alpha > 0 ? std::lround(std::min(255.0, colour[c] / area / alpha)) : 0);
      out[3] = uint8_t(std::lround(alpha * 255));
    }
  return icon;
}

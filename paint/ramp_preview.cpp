#include "paint/ramp_preview.h"

#include <algorithm>

TLevelMap RampLevelMap(const TGammaRamp& ramp) {
  TLevelMap map;
  for (int32_t channel = 0; channel < 3; ++channel)
    for (int32_t level = 0; level < LevelCount; ++level)
      map.Levels[channel][level] =
          static_cast<uint8_t>((uint32_t(ramp[channel * LevelCount + level]) * 255 + 32767) / 65535);
  return map;
}

TColor MapColor(const TLevelMap& map, TColor color) {
  return RgbColor(map.Levels[0][RedOf(color)], map.Levels[1][GreenOf(color)], map.Levels[2][BlueOf(color)]);
}

// One pass through the three tables, byte by byte.
void MapPicture(const TLevelMap& map, TBitmap& picture) {
  const size_t pixels = size_t(picture.Width) * picture.Height;
  if (picture.BitsPerPixel == 8) {
    std::vector<uint8_t> colour(pixels * 3);
    for (size_t i = 0; i < pixels && i < picture.Bits.size(); ++i)
      for (int32_t channel = 0; channel < 3; ++channel)
        colour[i * 3 + channel] = map.Levels[channel][picture.Bits[i]];
    picture.Bits = std::move(colour);
    picture.BitsPerPixel = 24;
    return;
  }
  if (picture.BitsPerPixel != 24) return;
  uint8_t* bytes = picture.Bits.data();
  const size_t end = std::min(pixels * 3, picture.Bits.size());
  for (size_t i = 0; i + 2 < end; i += 3) {
    bytes[i] = map.Levels[0][bytes[i]];
    bytes[i + 1] = map.Levels[1][bytes[i + 1]];
    bytes[i + 2] = map.Levels[2][bytes[i + 2]];
  }
}

void TMappedCanvas::Draw(int32_t x, int32_t y, const TBitmap& bitmap) {
  TBitmap mapped = bitmap;
  MapPicture(map_, mapped);
  canvas_.Draw(x, y, mapped);
}

void TMappedCanvas::DrawVerticalLines(int32_t x, int32_t y, int32_t height, const std::vector<TColor>& colors) {
  std::vector<TColor> mapped(colors.size());
  for (size_t i = 0; i < colors.size(); ++i) mapped[i] = MapColor(map_, colors[i]);
  canvas_.DrawVerticalLines(x, y, height, mapped);
}

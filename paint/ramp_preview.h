// The preview inside the window, for a display whose ramp cannot be set live
// (a desktop without a ramp interface, an HDR display on Windows): what the
// pattern paints reaches the screen as the display will show it once its
// calibration is loaded there. Each channel's level v shows as the ramp's
// entry for v scaled to 8 bits.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "paint/canvas.h"
#include "ramp/records.h"

// Per channel (red, green, blue), the level shown for each level.
struct TLevelMap {
  std::array<std::array<uint8_t, LevelCount>, 3> Levels;
};

// (ramp[c][v] x 255 + 32767) / 65535: the entry rounded to 8 bits.
TLevelMap RampLevelMap(const TGammaRamp& ramp);
TColor MapColor(const TLevelMap& map, TColor color);
// In place; an 8-bit grey picture becomes a 24-bit one, since the channels
// may part.
void MapPicture(const TLevelMap& map, TBitmap& picture);

// Draws on another canvas with every colour and picture mapped. The map is
// read at each call, so it must outlive the canvas.
class TMappedCanvas : public TCanvas {
 public:
  TMappedCanvas(TCanvas& canvas, const TLevelMap& map) : canvas_(canvas), map_(map) {}

  void SetPenColor(TColor color) override { canvas_.SetPenColor(MapColor(map_, color)); }
  void SetBrushColor(TColor color) override { canvas_.SetBrushColor(MapColor(map_, color)); }
  void SetFontColor(TColor color) override { canvas_.SetFontColor(MapColor(map_, color)); }
  void MoveTo(int32_t x, int32_t y) override { canvas_.MoveTo(x, y); }
  void LineTo(int32_t x, int32_t y) override { canvas_.LineTo(x, y); }
  void FillRect(const TRect& rect) override { canvas_.FillRect(rect); }
  void TextOut(int32_t x, int32_t y, const std::string& text) override { canvas_.TextOut(x, y, text); }
  void Draw(int32_t x, int32_t y, const TBitmap& bitmap) override;
  void DrawVerticalLines(int32_t x, int32_t y, int32_t height, const std::vector<TColor>& colors) override;

 private:
  TCanvas& canvas_;
  const TLevelMap& map_;
};

#include "paint/block_font.h"

#include <array>
#include <cstdlib>

namespace {

constexpr int32_t CellUnitsWide = 6, CellUnitsHigh = 11;
constexpr int32_t GlyphTopUnit = 2, GlyphRows = 8, GlyphColumns = 5;
constexpr int32_t DefaultHeight = 11;

using TGlyph = std::array<const char*, GlyphRows>;

struct TGlyphEntry {
  char Character;
  TGlyph Rows;
};

constexpr TGlyphEntry Glyphs[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###.", "....."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###.", "....."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####", "....."}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###.", "....."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#.", "....."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###.", "....."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###.", "....."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#...", "....."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###.", "....."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##..", "....."}},
    {'(', {"...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#.", "....."}},
    {')', {".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#...", "....."}},
    {',', {".....", ".....", ".....", ".....", ".....", "..##.", "...#.", "..#.."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", ".....", "....."}},
    {'.', {".....", ".....", ".....", ".....", ".....", "..##.", "..##.", "....."}},
    {' ', {".....", ".....", ".....", ".....", ".....", ".....", ".....", "....."}},
};

constexpr TGlyph HollowBox = {"#####", "#...#", "#...#", "#...#", "#...#", "#...#", "#####", "....."};

const TGlyph& GlyphOf(char character) {
  for (const TGlyphEntry& entry : Glyphs)
    if (entry.Character == character) return entry.Rows;
  return HollowBox;
}

bool Inked(const TGlyph& glyph, int32_t unitX, int32_t unitY) {
  const int32_t row = unitY - GlyphTopUnit;
  if (row < 0 || row >= GlyphRows || unitX >= GlyphColumns) return false;
  return glyph[row][unitX] == '#';
}

}  // namespace

TTextImage TBlockFont::RenderText(const std::string& text, const TFont& font) {
  const int32_t cellHeight = font.Height == 0 ? DefaultHeight : std::abs(font.Height);
  const int32_t cellWidth = (CellUnitsWide * cellHeight + 5) / CellUnitsHigh;
  TTextImage image;
  image.Width = cellWidth * int32_t(text.size());
  image.Height = cellHeight;
  image.Coverage.assign(size_t(image.Width) * image.Height, 0);
  for (size_t index = 0; index < text.size(); ++index) {
    const TGlyph& glyph = GlyphOf(text[index]);
    for (int32_t y = 0; y < cellHeight; ++y)
      for (int32_t x = 0; x < cellWidth; ++x)
        if (Inked(glyph, x * CellUnitsWide / cellWidth, y * CellUnitsHigh / cellHeight))
          image.Coverage[size_t(y) * image.Width + index * cellWidth + x] = 255;
  }
  return image;
}

#include "ramp/edid.h"

#include <cstdio>

namespace {

constexpr int DescriptorOffsets[] = {54, 72, 90, 108};
constexpr int DescriptorTextStart = 5;
constexpr int DescriptorTextLength = 13;
constexpr uint8_t TagSerialNumber = 0xFF;
constexpr uint8_t TagUnspecifiedText = 0xFE;
constexpr uint8_t TagMonitorName = 0xFC;

constexpr int MakerIdOffset = 8;
constexpr int ProductCodeOffset = 10;

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string TrimText(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && IsBlankOrControl(text[first])) ++first;
  while (last > first && IsBlankOrControl(text[last - 1])) --last;
  return text.substr(first, last - first);
}

std::string EdidDescription(const TEdid& edid) {
  std::string name, serial, other;
  for (int offset : DescriptorOffsets) {
    const uint8_t* block = edid.data() + offset;
    // A display descriptor, not a detailed timing: bytes 0, 1, 2 and 4 zero.
    if (block[0] != 0 || block[1] != 0 || block[2] != 0 || block[4] != 0) continue;
    std::string text;
    for (int i = 0; i < DescriptorTextLength; ++i) {
      const char c = static_cast<char>(block[DescriptorTextStart + i]);
      if (c == '\n') break;
      text.push_back(c);
    }
    switch (block[3]) {
      case TagUnspecifiedText: other = text; break;
      case TagMonitorName: name = text; break;
      case TagSerialNumber: serial = text; break;
      default: break;
    }
  }
  if (!other.empty() && name.empty()) name = other;
  return TrimText(name + " " + serial);
}

std::string EdidModelCode(const TEdid& edid) {
  // Three letters of five bits each, 1 = 'A', big-endian.
  const unsigned maker = (edid[MakerIdOffset] << 8) | edid[MakerIdOffset + 1];
  std::string code;
  for (int shift : {10, 5, 0}) {
    const unsigned letter = (maker >> shift) & 0x1F;
    if (letter < 1 || letter > 26) return "";
    code.push_back(static_cast<char>('A' + letter - 1));
  }
  const unsigned product = edid[ProductCodeOffset] | (edid[ProductCodeOffset + 1] << 8);
  char digits[5];
  std::snprintf(digits, sizeof digits, "%04X", product);
  return code + digits;
}

#include "platform/linux/shown_text.h"

#include <cstdint>

namespace {

// 0x80..0x9F, where Windows-1252 differs from Latin-1.
constexpr char32_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Continuation bytes that a lead byte wants, or -1 for a byte that cannot lead.
int ContinuationCount(uint8_t lead) {
  if (lead < 0x80) return 0;
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return -1;
}

bool IsValidUtf8(const std::string& bytes) {
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<uint8_t>(bytes[i]);
    const int count = ContinuationCount(lead);
    if (count < 0 || i + count >= bytes.size()) return false;
    char32_t c = count == 0 ? lead : lead & (0x3F >> count);
    for (int k = 1; k <= count; ++k) {
      const auto next = static_cast<uint8_t>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      c = c << 6 | (next & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    const char32_t smallest[4] = {0, 0x80, 0x800, 0x10000};
    if (c < smallest[count] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return false;
    i += count + 1;
  }
  return true;
}

}  // namespace

std::string Windows1252ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char byte : bytes) {
    const auto b = static_cast<uint8_t>(byte);
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? Windows1252High[b - 0x80] : char32_t{b});
  }
  return out;
}

std::string ShownText(const std::string& bytes) {
  return IsValidUtf8(bytes) ? bytes : Windows1252ToUtf8(bytes);
}

// EDID base blocks put together byte by byte for tests.
#pragma once

#include <cstring>
#include <string>

#include "ramp/edid.h"

// Writes a text descriptor with `tag` into descriptor slot 0..3.
inline void PutTextDescriptor(TEdid& edid, int slot, uint8_t tag, const std::string& text) {
  uint8_t* block = edid.data() + 54 + 18 * slot;
  std::memset(block, 0, 18);
  block[3] = tag;
  std::memcpy(block + 5, text.data(), std::min<size_t>(text.size(), 13));
}

// Maker "ABC" (0x0443) and product 0x1234: model code ABC1234.
inline void PutModelAbc1234(TEdid& edid) {
  edid[8] = 0x04;
  edid[9] = 0x43;
  edid[10] = 0x34;
  edid[11] = 0x12;
}

inline std::string EdidBytes(const TEdid& edid) {
  return std::string(reinterpret_cast<const char*>(edid.data()), edid.size());
}

#include "platform/qt/fresh_surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

// Faulting in writes every page of the range, the second thread's half too,
// and must leave each byte as it was, up to the range's unaligned ends.
TEST(FreshSurface, FaultingInKeepsEveryByte) {
  for (size_t size : {size_t(100), size_t(9 << 20) + 123}) {
    std::vector<unsigned char> bytes(size + 2);
    std::iota(bytes.begin(), bytes.end(), uint8_t(7));
    const std::vector<unsigned char> before = bytes;
    FaultInPages(bytes.data() + 1, size);
    EXPECT_EQ(bytes, before) << size;
  }
}

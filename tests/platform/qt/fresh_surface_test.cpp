#include "platform/qt/fresh_surface.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
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

// A process that may start no further task (at its user's limit) still
// faults in a large surface, on one thread, instead of ending.
TEST(FreshSurface, FaultingInWithoutASecondThreadStillKeepsEveryByte) {
  constexpr uid_t Nobody = 65534;  // root's limit of tasks is not enforced
  const auto faultInAtTheLimit = [] {
    std::vector<unsigned char> bytes(size_t(9 << 20));
    std::iota(bytes.begin(), bytes.end(), uint8_t(7));
    const std::vector<unsigned char> before = bytes;
    const rlimit none = {0, 0};
    if (geteuid() == 0 && (setgid(Nobody) != 0 || setuid(Nobody) != 0)) std::_Exit(2);
    if (setrlimit(RLIMIT_NPROC, &none) != 0) std::_Exit(3);
    FaultInPages(bytes.data(), bytes.size());
    std::_Exit(bytes == before ? 0 : 1);
  };
  EXPECT_EXIT(faultInAtTheLimit(), ::testing::ExitedWithCode(0), "");
}

#include "loader/linux/clock.h"

#include <limits.h>
#include <time.h>

uint64_t MonotonicMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
}

void WaitNoLaterThan(uint64_t deadline, uint64_t now, int& timeoutMs) {
  if (deadline == NoDeadline) return;
  uint64_t waitMs = deadline <= now ? 0 : deadline - now;
  if (waitMs > INT_MAX) waitMs = INT_MAX;
  if (timeoutMs < 0 || static_cast<int>(waitMs) < timeoutMs) timeoutMs = static_cast<int>(waitMs);
}

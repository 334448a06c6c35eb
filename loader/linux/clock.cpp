#include "loader/linux/clock.h"

#include <limits.h>
#include <time.h>

uint64_t MonotonicMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000;
}

void WaitNoLaterThan(uint64_t deadline, uint64_t now, int& timeout_ms) {
  if (deadline == NoDeadline) return;
  uint64_t wait_ms = deadline <= now ? 0 : deadline - now;
  if (wait_ms > INT_MAX) wait_ms = INT_MAX;
  if (timeout_ms < 0 || static_cast<int>(wait_ms) < timeout_ms) timeout_ms = static_cast<int>(wait_ms);
}

// Deadlines on the monotonic clock, in milliseconds, for the loader's single
// poll() wait: each source of work says when it next needs the loop, and the
// wait lasts until the earliest of them.
#pragma once

#include <stdint.h>

constexpr uint64_t NoDeadline = UINT64_MAX;

uint64_t MonotonicMs();

// Shortens timeoutMs (-1: none) so that the wait ends by deadline.
void WaitNoLaterThan(uint64_t deadline, uint64_t now, int& timeoutMs);

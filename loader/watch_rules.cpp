#include "loader/watch_rules.h"

bool RampShows(const uint16_t* present, const uint16_t* stored) {
  for (int i = 0; i < RampEntries; ++i) {
    const int32_t difference = static_cast<int32_t>(present[i]) - static_cast<int32_t>(stored[i]);
    if (difference > ShownTolerance || difference < -ShownTolerance) return false;
  }
  return true;
}

void ResampleChannel(const uint16_t* channel, int32_t size, uint16_t* levels) {
  for (int32_t level = 0; level < RampLevels; ++level) {
    const int64_t scaled = static_cast<int64_t>(level) * (size - 1);
    levels[level] = channel[(scaled + (RampLevels - 1) / 2) / (RampLevels - 1)];
  }
}

TReplacedAction OnReplaced(TWatchedDisplay& display, uint64_t nowMs) {
  if (display.GaveUp) return AlreadyGivenUp;
  const bool soon = display.LastReloadMs != 0 && nowMs - display.LastReloadMs <= ReplacedSoonMs;
  display.ReplacedInARow = soon ? display.ReplacedInARow + 1 : 0;
  if (display.ReplacedInARow >= ReplacedInARowToGiveUp) {
    display.GaveUp = true;
    return GiveItUp;
  }
  display.LastReloadMs = nowMs;
  return ReloadIt;
}

void WatchAgain(TWatchedDisplay& display) { display = TWatchedDisplay(); }

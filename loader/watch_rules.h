// The watch's rules about one display, apart from how ramps are read or
// programs started: when a present ramp still shows the calibration, and
// what to do when another program has replaced it.
#pragma once

#include <stdint.h>

#include "loader/shown_file.h"

constexpr int32_t DefaultWatchSeconds = 3;
// Cards keep 8, 10 or 12 bits of each 16-bit entry.
constexpr int32_t ShownTolerance = 255;
// Replaced again this soon after a re-load, this many times in a row: another
// program owns the display.
constexpr uint64_t ReplacedSoonMs = 10000;
constexpr int32_t ReplacedInARowToGiveUp = 3;

// True when every entry is within ShownTolerance of the stored one.
bool RampShows(const uint16_t* present, const uint16_t* stored);

// A channel of `size` entries brought to 256 by taking the nearest entry.
void ResampleChannel(const uint16_t* channel, int32_t size, uint16_t* levels);

struct TWatchedDisplay {
  uint64_t LastReloadMs = 0;  // monotonic; 0: never re-loaded
  int32_t ReplacedInARow = 0;
  bool GaveUp = false;
};

enum TReplacedAction : uint8_t { ReloadIt, GiveItUp, AlreadyGivenUp };

// The display's ramp no longer shows its calibration (and no rule leaves it
// alone): re-load it, or give it up to the program that keeps replacing it.
TReplacedAction OnReplaced(TWatchedDisplay& display, uint64_t nowMs);

// A display change, unlock, resume or load run: watched again, from scratch.
void WatchAgain(TWatchedDisplay& display);

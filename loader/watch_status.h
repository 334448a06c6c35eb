// What the watch knows about each display, kept in plain fixed-size records
// (no C++ runtime) so that the Linux loader, Tonewatch.exe, its tray icon and
// "tonewatch /status" can all read it.
#pragma once

#include <cstdint>

constexpr int MostWatchedDisplays = 16;

enum TWatchState : uint8_t {
  WatchNoCurve,     // no curve of its own: never touched
  WatchLoaded,      // its calibration shows
  WatchLeftAlone,   // another program sets its ramp (Why says which, or "replaced 3 times in a row")
  WatchRefused,     // the display refuses the ramp (Why: load mode's reason)
  WatchNotWatched   // the watch does not run here (Wayland, Watch=0, paused)
};

struct TDisplayStatus {
  char Identity[160];
  char Device[64];
  char Curve[32];        // "Tonemark2.lut"; empty: no curve of its own
  int64_t LoadedAt;      // seconds since 1970, 0: never
  int32_t ReloadsToday;  // re-loads by the watch since local midnight
  TWatchState State;
  char Why[256];
};

struct TWatchStatus {
  int32_t Count;
  TDisplayStatus Displays[MostWatchedDisplays];
};

// The running loader's state, kept up to date by its watch.
const TWatchStatus& CurrentWatchStatus();

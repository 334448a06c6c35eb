// The watch itself, apart from the system: what it does with each look at the
// ramps and with each new Tonemark.shown. The loader of each system supplies
// the few things only it can do (TWatchSystem) and says when to look.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "loader/shown_file.h"
#include "loader/watch_rules.h"
#include "loader/watch_settings.h"
#include "loader/watch_status.h"

struct TRunningPrograms {
  bool TonemarkRuns = false;  // a load run or a window: its ramps are not yet final
  char LeaveAlone[64] = {};   // the first program of the leave-alone list found; empty: none
};

struct TWatchSystem {
  // The ramp display `index` of the file shows now; false when it cannot be read.
  bool (*ReadPresentRamp)(int index, const TShownDisplay& display, uint16_t* ramp);
  bool (*CalibrationWindowOpen)();
  TRunningPrograms (*LookAtRunningPrograms)(const char* leaveAloneList);
  bool (*NightLightOn)();
  // Says, once, that the display is given up to another program.
  void (*TellGivenUp)(const TDisplayStatus& display);
  // Starts "tonemark /load /reapply <identity>"; false when it could not.
  bool (*StartReapply)(const char* identity);
};

struct TWatchCore {
  int32_t Seconds = 0;  // 0: not watching, NotWatchedWhy says why
  const char* NotWatchedWhy = "";
  TWatchSettings Settings;
  TShownFile Shown;
  TWatchedDisplay Rules[MostWatchedDisplays];
  TWatchStatus Status;
  int32_t Day = 0;  // the local day that ReloadsToday counts
};

// A new Tonemark.shown: from the watch's own re-load (which keeps what the
// watch knew of each display) or from a load run (every display is watched
// again from scratch, one given up included).
void TakeShownText(TWatchCore& watch, const char* text, size_t length, bool ownReload);

// Counts of re-loads start again when the local day changes.
void TakeLocalDay(TWatchCore& watch, int32_t day);

// One look at every watched display. A display whose ramp differs is left
// alone while a calibration window is open, a listed program runs or the
// desktop's night light is on; it waits while Tonemark runs; otherwise it is
// re-loaded, or given up when replaced again soon after each of three
// re-loads in a row. At most one re-load is started (true): the next
// display's waits for the look that follows its end.
bool LookAtRamps(TWatchCore& watch, const TWatchSystem& system, uint64_t nowMs);

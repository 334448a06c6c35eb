#include "loader/linux/pause.h"

#include <time.h>

#include "loader/linux/clock.h"
#include "loader/linux/settings_file.h"
#include "loader/tray_settings.h"

namespace {

constexpr uint64_t MillisecondsPerSecond = 1000;
constexpr size_t UntilTextSize = 24;

int64_t Until = 0;

int64_t Now() { return static_cast<int64_t>(time(nullptr)); }

void Store(int64_t until) {
  char text[UntilTextSize];
  FormatPausedUntil(until, text, sizeof text);
  WriteTonewatchSetting(PausedUntilKey, text);
}

}  // namespace

void ReadPause() {
  Until = ReadTraySettingsFile().PausedUntil;
  if (Until != 0 && !PauseHolds(Until, Now())) Until = 0;
}

int64_t PausedUntil() { return Until; }

bool CalibrationPaused() { return PauseHolds(Until, Now()); }

uint64_t PauseEndsAt(uint64_t now) {
  if (Until == 0 || Until == PausedForever) return NoDeadline;
  const int64_t left = Until - Now();
  return left <= 0 ? now : now + static_cast<uint64_t>(left) * MillisecondsPerSecond;
}

void StartPause(int64_t until) {
  Until = until;
  Store(until);
}

void EndPause() {
  Until = 0;
  Store(0);
}

#include "loader/windows/pause.h"

#include <ctime>

#include "loader/tray_settings.h"
#include "loader/windows/load_runs.h"
#include "loader/windows/settings_file.h"

namespace {

constexpr UINT PauseCheckMs = 60000;
constexpr size_t UntilTextSize = 24;

int64_t Until = 0;

int64_t Now() { return static_cast<int64_t>(std::time(nullptr)); }

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

void StartPause(HWND window, int64_t until) {
  Until = until;
  Store(until);
  RequestLoadRun(true);
  WatchPauseEnd(window);
}

void EndPause(HWND window) {
  Until = 0;
  Store(0);
  KillTimer(window, PauseTimer);
  RequestLoadRun();
}

void WatchPauseEnd(HWND window) {
  if (Until != 0) SetTimer(window, PauseTimer, PauseCheckMs, nullptr);
}

bool HandlePauseTimer(HWND window) {
  if (Until == 0 || CalibrationPaused()) return false;
  EndPause(window);
  return true;
}

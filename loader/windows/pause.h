// The calibration's pause, chosen from the icon's menu: until its end the
// displays keep the linear ramp, and the watch and every load run but the
// pause's own are held back. It lives in the settings file ([Tonewatch]
// PausedUntil=), so it holds across a restart of the loader until its end,
// icon or not. A window timer looks for the end once a minute.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr UINT_PTR PauseTimer = 30;

// Takes the pause from the settings file; at start, before the first launch.
void ReadPause();

// Seconds since 1970 when the pause ends, PausedForever, or 0 for none.
int64_t PausedUntil();

bool CalibrationPaused();

// Starts a pause ending at `until` (seconds since 1970, or PausedForever),
// stores it and loads the linear ramp; a pause that cannot be stored still
// holds for this run.
void StartPause(HWND window, int64_t until);

// Ends the pause, also in the settings file, and loads the curves again.
void EndPause(HWND window);

// Sets the minute timer for a pause read at start.
void WatchPauseEnd(HWND window);

// PauseTimer's tick: ends a pause whose time is up. True when it ended one.
bool HandlePauseTimer(HWND window);

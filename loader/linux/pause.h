// The calibration's pause, chosen from the icon's menu: until its end the
// displays keep the linear ramp, and the watch and every load trigger are
// held back. It lives in the settings file ([Tonewatch] PausedUntil=), so it
// holds across a restart of the loader until its end, icon or not.
#pragma once

#include <stdint.h>

// Takes the pause from the settings file; at start, before the first launch.
void ReadPause();

// Seconds since 1970 when the pause ends, PausedForever, or 0 for none.
int64_t PausedUntil();

bool CalibrationPaused();

// The monotonic time (clock.h) at which the pause ends; NoDeadline for none.
uint64_t PauseEndsAt(uint64_t now);

// Starts a pause ending at `until` (seconds since 1970, or PausedForever) and
// stores it; a pause that cannot be stored still holds for this run.
void StartPause(int64_t until);

// Ends the pause, also in the settings file.
void EndPause();

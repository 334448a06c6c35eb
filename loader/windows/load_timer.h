// The one-shot multimedia timer of the timed launch. Its callback runs on the
// timer's own thread; the identifier is the only thing it shares with the
// main thread.
#pragma once

#include <windows.h>

#include <cstdint>

// What the timer posts to the loader's window when it expires.
constexpr UINT TimedLoadMessage = WM_APP + 1;

// Sets the timer; a delay the multimedia timer refuses leaves it unset.
void StartLoadTimer(int32_t delayMs, HWND window);

// Kills the timer if it is still set, so that no launch can come from it
// while, or after, the loader tears down.
void CancelLoadTimer();

// The identifier of the timer while it is set, 0 otherwise.
UINT LoadTimerId();

// The one-shot multimedia timer of the timed launch. Its callback runs on the
// timer's own thread; the identifier is the only thing it shares with the
// main thread.
#pragma once

#include <windows.h>

#include <cstdint>

// Sets the timer; a delay the multimedia timer refuses leaves it unset.
void StartLoadTimer(int32_t delayMs);

// Kills the timer if it is still set, so that no launch can come from it
// while, or after, the loader tears down.
void CancelLoadTimer();

// The identifier of the timer while it is set, 0 otherwise.
UINT LoadTimerId();

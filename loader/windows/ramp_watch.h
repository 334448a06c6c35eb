// The watch in Tonewatch.exe: a window timer looks at the ramps every few
// seconds (3 unless the settings or "/watch N" say otherwise) and re-loads a
// display another program has set through "Tonemark.exe /load /reapply
// <identity>" (watch_core.h has the rules). A display given up is told in a
// balloon (balloon.h). The state goes to Orvana.Tonewatch.status in the
// user's temporary folder for "Tonewatch.exe /status".
#pragma once

#include <windows.h>

#include <cstdint>

constexpr UINT_PTR WatchTimer = 20;
constexpr UINT_PTR ReapplyTimer = 21;  // looks for the end of a re-load

// chosenSeconds: from "/watch N", -1 for the settings' value.
void StartRampWatch(HWND window, int32_t chosenSeconds);

// A WM_TIMER of the watch's; false for any other timer.
bool HandleWatchTimer(HWND window, WPARAM timer);

void StopRampWatch(HWND window);

// "/status": the running loader's record, or the last load run's word when
// none runs, on standard output (or the console of the program that started
// it); always exit code 0.
int PrintWatchStatus();

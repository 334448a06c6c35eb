#include "loader/windows/load_timer.h"

#include <mmsystem.h>

#include <atomic>


namespace {
// Written by the main thread, taken by whichever thread ends the timer first.
std::atomic<UINT> LoadTimer{0};

// The launch itself happens on the main thread, which keeps the runs apart.
void CALLBACK LoadTimerProc(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR) {
  CancelLoadTimer();
  PostMessageA(reinterpret_cast<HWND>(window), TimedLoadMessage, 0, 0);
}
}  // namespace

void StartLoadTimer(int32_t delayMs, HWND window) {
  const UINT delay = static_cast<UINT>(delayMs);
  LoadTimer.store(timeSetEvent(delay, delay, LoadTimerProc, reinterpret_cast<DWORD_PTR>(window), TIME_ONESHOT));
}

void CancelLoadTimer() {
  const UINT timer = LoadTimer.exchange(0);
  if (timer != 0) timeKillEvent(timer);
}

UINT LoadTimerId() { return LoadTimer.load(); }

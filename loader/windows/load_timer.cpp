#include "loader/windows/load_timer.h"

#include <mmsystem.h>

#include <atomic>

#include "loader/windows/launch.h"

namespace {
// Written by the main thread, taken by whichever thread ends the timer first.
std::atomic<UINT> LoadTimer{0};

void CALLBACK LoadTimerProc(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
  CancelLoadTimer();
  LaunchLoadMode();
  TrimWorkingSet();
}
}  // namespace

void StartLoadTimer(int32_t delayMs) {
  const UINT delay = static_cast<UINT>(delayMs);
  LoadTimer.store(timeSetEvent(delay, delay, LoadTimerProc, 0, TIME_ONESHOT));
}

void CancelLoadTimer() {
  const UINT timer = LoadTimer.exchange(0);
  if (timer != 0) timeKillEvent(timer);
}

UINT LoadTimerId() { return LoadTimer.load(); }

#include "loader/windows/load_runs.h"

#include "loader/windows/launch.h"
#include "loader/windows/pause.h"

namespace {
HANDLE Running = nullptr;
bool Queued = false;
bool QueuedSafe = false;
}  // namespace

void RequestLoadRun(bool safe) {
  if (!safe && CalibrationPaused()) return;  // a pause holds every other run back
  if (Running != nullptr) {
    Queued = true;
    QueuedSafe = safe;
    return;
  }
  Running = safe ? LaunchSafeLoadMode() : LaunchLoadMode();
  TrimWorkingSet();
}

HANDLE RunningLoad() { return Running; }

void LoadRunEnded() {
  if (Running != nullptr) CloseHandle(Running);
  Running = nullptr;
  if (!Queued) return;
  Queued = false;
  RequestLoadRun(QueuedSafe);
}

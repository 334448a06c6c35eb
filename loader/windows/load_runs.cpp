#include "loader/windows/load_runs.h"

#include "loader/windows/launch.h"

namespace {
HANDLE Running = nullptr;
bool Queued = false;
}  // namespace

void RequestLoadRun() {
  if (Running != nullptr) {
    Queued = true;
    return;
  }
  Running = LaunchLoadMode();
  TrimWorkingSet();
}

HANDLE RunningLoad() { return Running; }

void LoadRunEnded() {
  if (Running != nullptr) CloseHandle(Running);
  Running = nullptr;
  if (!Queued) return;
  Queued = false;
  RequestLoadRun();
}

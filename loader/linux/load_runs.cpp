#include "loader/linux/load_runs.h"

#include <sys/syscall.h>
#include <unistd.h>

#include "loader/linux/launch.h"

void AdoptLoadRun(TLoadRuns& runs, pid_t child) {
  if (child <= 0) return;
  // Children are reaped by the system as they end, so this pid names the run
  // unless the run has already ended: it has to exec tonemark first, which
  // takes far longer than getting here. A run that has ended gives ESRCH.
  // glibc's header of its pidfd_open wrapper lacks C linkage for C++.
  runs.Running = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
}

void RequestLoadRun(TLoadRuns& runs, bool safe) {
  if (runs.Running >= 0) {
    runs.Queued = true;
    runs.QueuedSafe = safe;
    return;
  }
  AdoptLoadRun(runs, safe ? LaunchSafeLoadMode() : LaunchLoadMode());
}

void AddLoadRunsToPoll(const TLoadRuns& runs, pollfd& slot) {
  slot.fd = runs.Running;
  slot.events = POLLIN;
  slot.revents = 0;
}

bool ProcessLoadRuns(TLoadRuns& runs, const pollfd& slot) {
  if (runs.Running < 0 || slot.revents == 0) return false;  // a pidfd becomes readable when its process ends
  close(runs.Running);
  runs.Running = -1;
  if (!runs.Queued) return false;
  runs.Queued = false;
  RequestLoadRun(runs, runs.QueuedSafe);
  return true;
}

void CloseLoadRuns(TLoadRuns& runs) {
  if (runs.Running >= 0) close(runs.Running);
  runs.Running = -1;
  runs.Queued = false;
}

// The loader's own load-mode runs, one at a time. A run steps the ramps for a
// while and then reads them back; a second run started meanwhile would load
// its own intermediate ramps under the first, which would then report the
// calibration as not kept. So a launch asked for while a run is going waits
// for it to end, and however many are asked for meanwhile make one more run.
#pragma once

#include <poll.h>
#include <sys/types.h>

struct TLoadRuns {
  int Running = -1;  // a pidfd of the run going on, -1 when none is
  bool Queued = false;
  bool QueuedSafe = false;  // the queued run loads the linear ramp (TONEMARK_SAFE=1)
};

// Takes over a run started before the loop (the launch at start), if any.
void AdoptLoadRun(TLoadRuns& runs, pid_t child);

// Starts a run now, or queues one when a run is going on; the last request
// says whether the queued run is a safe one (the linear ramp everywhere).
void RequestLoadRun(TLoadRuns& runs, bool safe = false);

void AddLoadRunsToPoll(const TLoadRuns& runs, pollfd& slot);

// After a poll: once the run has ended, starts the queued one. True when a
// run was started.
bool ProcessLoadRuns(TLoadRuns& runs, const pollfd& slot);

void CloseLoadRuns(TLoadRuns& runs);

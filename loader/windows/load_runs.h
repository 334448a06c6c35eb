// The loader's own load-mode runs, one at a time. A run steps the ramps for a
// while and then reads them back; a second run started meanwhile would load
// its own intermediate ramps under the first, which would then report the
// calibration as not kept. So a launch asked for while a run is going waits
// for it to end, and however many are asked for meanwhile make one more run.
// Main thread only: the timer's thread asks through the window.
#pragma once

#include <windows.h>

// Starts a run now, or queues one when a run is going on. A safe run loads
// the linear ramp (TONEMARK_SAFE=1); while the calibration is paused only
// safe runs start.
void RequestLoadRun(bool safe = false);

// The process of the run going on, for the message loop to wait on; nullptr
// when none is.
HANDLE RunningLoad();

// The message loop saw the run end: starts the queued one, if any.
void LoadRunEnded();

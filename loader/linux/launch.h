// Starting Tonemark in load mode from the loader's own folder, and reaping
// the processes so started.
#pragma once

#include <sys/types.h>

// Finds <own folder>tonemark once, before any launch: later launches must not
// depend on the working folder or on how the loader was started.
void FindTonemark(const char* argv0);

// Starts "<own folder>tonemark /load" without waiting for it. Handles are not
// inherited (every descriptor of the loader is close-on-exec) and the child
// gets a clear signal mask. Returns the child's pid, -1 when it could not be
// started (which is not reported).
pid_t LaunchLoadMode();

// Starts "<own folder>tonemark /load /reapply <identity>": that one display's
// curve at once. Returns the child's pid, -1 when it could not be started.
pid_t LaunchReapply(const char* identity);

// Starts "<own folder>tonemark /load" with TONEMARK_SAFE=1 in its
// environment: the linear ramp on every display, whatever the curve files say.
pid_t LaunchSafeLoadMode();

// Starts "<own folder>tonemark": the calibration window.
pid_t LaunchCalibration();

// From now on no child ever stays a zombie, without the loader having to
// hear of its end.
void ReapChildrenAutomatically();

// The resident part of the loader: holds the single-instance lock and waits,
// without polling, for its one timer, a resume from suspend, a change of the
// display configuration, the session's return to the user, a close request,
// a gamma request, the compositor's news or SIGTERM / SIGINT. Ends at once when another loader holds the lock.
// Load runs wanted while a calibration session is open wait for its end.
#pragma once

#include <stdint.h>
#include <sys/types.h>

// Before the first launch: children are reaped by the system from now on,
// and SIGTERM / SIGINT are blocked, to be read through a descriptor.
void PrepareSignals();

// firstRun is the load-mode run launched at start (-1 when none was).
// takeNow: on a wlroots desktop, takes the outputs' gamma controls at once
// (gamma_holder.h), as a loader with its own launch at start does.
// firstRunHeldBack: the launch at start waits for the end of the calibration
// session that was open then.
void LoaderMain(int32_t delayMs, pid_t firstRun, bool takeNow, bool firstRunHeldBack);

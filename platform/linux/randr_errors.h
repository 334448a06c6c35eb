// Xlib ends the process on a protocol error unless a handler takes it; ramp
// operations must fail quietly instead (a CRTC may vanish at any time).
#pragma once

struct _XDisplay;

// Installs, once per process, a handler that counts errors instead.
void InstallXErrorTrap();
// Waits for the server to handle every request sent so far; true when none
// of them failed since `errorsBefore` (a value of XErrorCount()).
bool XSucceededSince(_XDisplay* display, unsigned long errorsBefore);
unsigned long XErrorCount();

// Xlib ends the process on a protocol error unless a handler takes it; ramp
// operations must fail quietly instead (a CRTC may vanish at any time).
#pragma once

// Installs, once per process, a handler that counts errors instead. Another
// handler may replace it later (a toolkit's): what must know whether a request
// failed asks the reply, or checks the request itself.
void InstallXErrorTrap();
unsigned long XErrorCount();

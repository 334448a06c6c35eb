// Changes of the X screen's display configuration, as RandR reports them: a
// monitor connected or disconnected (output change), a mode, position or
// rotation set (CRTC change), the screen resized (screen change). Any of
// them may have reset the gamma ramps. Loading a ramp reports nothing, so
// the loader's own launches do not feed back into it.
//
// The loader talks to the X server through XCB, whose connection is a
// socket and a few kilobytes of buffers; without DISPLAY, an X server or
// RandR 1.2, it runs on without this watch. When the connection breaks (the
// X server ended) the watch is dropped. The ramp watch sends its requests
// over the same connection (present_ramps.h).
#pragma once

#include <poll.h>
#include <stdint.h>

struct xcb_connection_t;

struct TDisplayWatch {
  xcb_connection_t* Connection = nullptr;
  uint8_t FirstEvent = 0;
  uint32_t Root = 0;  // the screen's root window, for the ramp watch's requests
};

void OpenDisplayWatch(TDisplayWatch& watch);

void AddDisplayWatchToPoll(const TDisplayWatch& watch, pollfd& entry);

// Reads every event waiting; the number of configuration changes among them.
int ProcessDisplayWatch(TDisplayWatch& watch);

void CloseDisplayWatch(TDisplayWatch& watch);

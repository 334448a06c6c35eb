// What a toolkit needs to show a window on the stand-in compositor:
// surfaces (wl_compositor), shared-memory buffers (wl_shm), xdg-shell
// toplevels and popups, and a seat with a keyboard. Nothing is drawn: each
// buffer is given back as soon as it is committed, each frame is done at
// once, and every toplevel is configured as activated at the size it asks
// for. Requests that change nothing here are accepted and ignored.
#pragma once

#include <wayland-server-core.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct TStandInWindows;

// Offers the globals on `display`; `note` hears "window <title>" when a
// toplevel first shows a buffer. Freed after the display.
std::unique_ptr<TStandInWindows, void (*)(TStandInWindows*)> OfferStandInWindows(
    wl_display* display, std::function<void(const std::string&)> note);

// Gives the keyboard focus to the window shown last and presses and releases
// the key (a Linux input key code, as KEY_ENTER) there. False when no window
// with a keyboard shows.
bool PressKeyInLastWindow(TStandInWindows& windows, uint32_t key);

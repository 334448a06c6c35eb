// What the loader asks of, and tells, the desktop on the session bus, each
// time over a connection opened for that one question or message: whether
// its own night light is on (GNOME's NightLightActive, KWin's Night Color),
// and a desktop notification.
#pragma once

// True when GNOME or KWin says its night light is changing the ramps now;
// false where neither answers.
bool DesktopNightLightOn();

// One notification through org.freedesktop.Notifications; false when no
// notification service took it.
bool NotifyDesktop(const char* summary, const char* body);

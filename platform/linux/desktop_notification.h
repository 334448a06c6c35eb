// One notification on the desktop through the session bus's
// org.freedesktop.Notifications service, for load mode, which runs with
// nobody watching its standard error.
#pragma once

#include <string>

// False when there is no session bus, no notification service on it, or
// libsystemd cannot be loaded. Gives up after a few seconds.
bool NotifyDesktop(const std::string& summary, const std::string& body);

// The autostart entry that starts a program at log-on on a Linux desktop.
#pragma once

#include <string>

// A Desktop Entry file that starts `program` (an absolute path) without
// arguments, with the path quoted and escaped so that any file name survives
// the desktop's parsing of Exec=.
std::string DesktopEntryText(const std::string& program);

// The per-user folder that holds the loader's lock and control socket:
// $XDG_RUNTIME_DIR, else logind's /run/user/<uid>, else a folder of the
// user's own under /tmp. Whichever it is must be a real folder (not a link),
// owned by the user and closed to everyone else; nothing in a folder that
// fails this is trusted.
#pragma once

#include <stddef.h>

// Writes the folder, ending in "/", into folder. With create, the folder
// under /tmp is made (mode 0700) when missing. False when no safe folder
// exists or the path does not fit.
bool FindRuntimeFolder(char* folder, size_t size, bool create);

// Writes folder followed by name into path; false when it does not fit.
bool JoinPath(const char* folder, const char* name, char* path, size_t size);

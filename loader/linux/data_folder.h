// Tonemark's data folder, where load runs leave Tonemark.shown and the user's
// Tonemark.settings lies: the loader's own folder for a portable copy, else
// $XDG_CONFIG_HOME/Orvana/Tonemark/ (~/.config/...) for one that lies under
// the install prefix, the same rule that Tonemark follows.
#pragma once

#include <stddef.h>

// Writes the folder, ending in "/"; false when it does not fit or no folder is known.
bool FindDataFolder(char* folder, size_t size);

// Whether the absolute path `folder` is `parent` or lies inside it, compared
// by whole folder names; empty and "." names are skipped.
bool LiesUnder(const char* folder, const char* parent);

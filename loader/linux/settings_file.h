// Tonemark.settings in the data folder, as the icon reads and writes it: the
// whole text at once, and one value set with the rest kept as it was.
#pragma once

#include <stddef.h>

#include "loader/tray_settings.h"

// The icon's settings; the defaults when there is no file.
TTraySettings ReadTraySettingsFile();

// Sets `key` in [Tonewatch] (the file and its folders made when missing),
// replacing the file whole: a temporary file, then a rename. False when it
// could not be written.
bool WriteTonewatchSetting(const char* key, const char* value);

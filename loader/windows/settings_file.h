// Tonemark.settings in the data folder, as Tonewatch.exe's icon reads and
// writes it: the whole text at once, and one [Tonewatch] value set with the
// rest of the file kept as it was.
#pragma once

#include "loader/tray_settings.h"

// The icon's settings; the defaults when there is no file.
TTraySettings ReadTraySettingsFile();

// Replaces the file whole (a temporary file, then a move over it); false when
// it could not be written.
bool WriteTonewatchSetting(const char* key, const char* value);

// Tonemark's modes, chosen by the first command-line argument alone.
#pragma once

#include <string>

#include "tonemark_version.h"

inline const char* const LoadModeArgument = TONEMARK_LOAD_ARGUMENT;
inline const char* const UninstallModeArgument = "/uninstall";

// The maker's page that asks why Tonemark is being removed.
inline const char* const UninstallPageAddress = "https://orvana.example/tonemark/uninstall";

// The loader's executable beside Tonemark.
inline const char* const LoaderFileName = TONEWATCH_PROGRAM;

// Reads the settings and the languages, then runs load or uninstall mode when
// argument 1 asks for it, compared byte for byte. True when the calibration
// window is to open; false when the mode's work is done.
bool PrepareRun();

// Tonemark's modes, chosen by the first command-line argument alone.
#pragma once

#include <string>
#include <vector>

#include "tonemark_version.h"

inline const char* const LoadModeArgument = TONEMARK_LOAD_ARGUMENT;
inline const char* const UninstallModeArgument = "/uninstall";

// The maker's page that asks why Tonemark is being removed.
inline const char* const UninstallPageAddress = "https://orvana.example/tonemark/uninstall";

// The loader's executable beside Tonemark.
inline const char* const LoaderFileName = TONEWATCH_PROGRAM;

enum class TRunMode { Normal, Load, Uninstall };

// The mode that argument 1 of `args` asks for, compared byte for byte; normal
// mode (the calibration window) for anything else and without one.
TRunMode RunModeOf(const std::vector<std::string>& args);

// Reads the settings and the languages, then runs load or uninstall mode when
// the command line asks for it. True when the calibration window is to open;
// false when the mode's work is done.
bool PrepareRun();

// tonemark-profile: writes a display's calibration as an ICC profile and,
// when asked, installs it as the display's profile.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "profile/profile_installer.h"

inline const char* const ProfileUsage =
    "usage: tonemark-profile --display N [--out FILE.icc] [--install]\n"
    "       tonemark-profile --curve FILE.lut [--edid FILE] --out FILE.icc";

struct TProfileArguments {
  int Display = 0;  // 1 for the first display; 0 when --curve names the record
  std::string Curve, Edid, Out;
  bool Install = false;
};

// False with a message in `error` for arguments that do not fit the usage.
bool ParseProfileArguments(const std::vector<std::string>& args, TProfileArguments& parsed,
                           std::string& error);

// Runs the program on args (args[0] its own path, which places the data
// folder as for tonemark). The displays port must be set. Returns the exit
// code: 0 done, 1 when something could not be done (said on `err`), 2 for bad
// arguments.
int ProfileProgram(const std::vector<std::string>& args, TProfileInstaller& installer,
                   std::ostream& out, std::ostream& err);

// The local date as YYYY-MM-DD.
std::string TodayText();

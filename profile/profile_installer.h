// What the system does to make a written profile a display's own: each
// system's tonemark-profile main() hands one to ProfileProgram.
#pragma once

#include <ostream>
#include <string>

#include "ramp/records.h"

class TProfileInstaller {
 public:
  virtual ~TProfileInstaller() = default;
  // Makes the profile file at `path` (absolute) the profile of `display`,
  // telling `report` one line per step what it did or could not do. False
  // when a step that was possible failed.
  virtual bool Install(const std::string& path, const TDisplay& display, std::ostream& report) = 0;
};

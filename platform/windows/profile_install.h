// TonemarkProfile.exe --install: the profile is installed into the system's
// colour folder and made the current user's default profile of the monitor.
#pragma once

#include "profile/profile_installer.h"

class TWindowsProfileInstaller : public TProfileInstaller {
 public:
  bool Install(const std::string& path, const TDisplay& display, std::ostream& report) override;
};

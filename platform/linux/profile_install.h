// tonemark-profile --install on Linux: the profile goes into the user's ICC
// folder, where the desktops' colour settings look, and colord, where it runs,
// is asked over the system bus to make it the output's default profile.
#pragma once

#include "platform/wayland/colord_devices.h"
#include "profile/profile_installer.h"

class TLinuxProfileInstaller : public TProfileInstaller {
 public:
  bool Install(const std::string& path, const TDisplay& display, std::ostream& report) override;
};

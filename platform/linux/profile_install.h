// tonemark-profile --install on Linux: the profile goes into the user's ICC
// folder, where the desktops' colour settings look, and colord, where it runs,
// is asked over the system bus to make it the output's default profile.
#pragma once

#include "profile/profile_installer.h"

class TLinuxProfileInstaller : public TProfileInstaller {
 public:
  bool Install(const std::string& path, const TDisplay& display, std::ostream& report) override;
};

// colord's id for a profile: "icc-tonemark-" and a hash of its bytes, so that a
// changed profile is a new one to colord.
std::string ColordProfileId(const std::string& bytes);

// KDE Plasma 6 on Wayland: KWin lets no program set a gamma ramp, and loads
// each output's calibration itself from the colour profile assigned to it
// (kde_keeper.h). The outputs are listed, with their EDIDs, so that each is
// reported by name; every live ramp is refused with that reason (or, on an
// output that takes no colour profile, with that one), and the window
// previews the calibration inside itself.
#pragma once

#include <string>
#include <vector>

#include "platform/wayland/none_displays.h"

inline const char* const KdeBackendLabel = "KDE Plasma (KWin's output management)";

class TKdeDisplays : public TNoRampDisplays {
 public:
  std::string BackendName() override { return "kde"; }
  explicit TKdeDisplays(std::string drmFolder = "/sys/class/drm");

  std::string RampRefusal(TDisplayHandle display) override;
  std::unique_ptr<TCalibrationKeeper> CalibrationKeeper(const TProfileMaker& makeProfile) override;

 protected:
  TKeyedText ReadOutputs() override;

 private:
  std::vector<std::string> withoutProfiles_;  // the connectors
};

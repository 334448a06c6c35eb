// Who keeps the calibration on a wlroots desktop: the loader, which holds the
// outputs' gamma controls. After OK it must hold the new curves once the
// session has ended; load mode goes through it as it is (see wlr_displays.h).
#pragma once

#include <string>

#include "platform/wayland/wlr_displays.h"
#include "shell/calibration_keeper.h"

class TWlrKeeper : public TCalibrationKeeper {
 public:
  explicit TWlrKeeper(TWlrDisplays& displays) : displays_(displays) {}

  std::string HandOverStoredCurves(const std::string& folder) override;
  bool EnsureStoredCurves(const std::string&, TLoadReport&) override { return false; }
  std::string TakeBackStoredCurves() override { return ""; }

 private:
  TWlrDisplays& displays_;
};

// GNOME keeps the calibration itself: at log-on, after hot-plug and after
// resume Mutter loads each monitor's ramp from the 'vcgt' of its default
// colord profile, combined with Night Light, over whatever was loaded before.
// So each display's stored curve goes to it as a profile (TonemarkN.icc beside
// the curve files, as tonemark-profile writes it), made the default of the
// monitor's colord device.
#pragma once

#include <string>

#include "platform/wayland/gnome_displays.h"
#include "platform/wayland/profile_files.h"
#include "ramp/records.h"
#include "shell/calibration_keeper.h"

class TGnomeKeeper : public TCalibrationKeeper {
 public:
  // `makeProfile` is empty in a program built without the profile module:
  // it hands over only profiles already written.
  TGnomeKeeper(TGnomeDisplays& displays, TProfileMaker makeProfile);

  std::string HandOverStoredCurves(const std::string& folder) override;
  bool EnsureStoredCurves(const std::string& folder, TLoadReport& report) override;
  std::string TakeBackStoredCurves() override;

 private:
  // Waits for Mutter to show each display's calibration; reports the others.
  void VerifyShown(const std::vector<std::pair<int32_t, TGammaRamp>>& expected, TLoadReport& report);

  TGnomeDisplays& displays_;
  TProfileMaker makeProfile_;
};

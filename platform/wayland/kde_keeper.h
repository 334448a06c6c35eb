// KDE Plasma 6 keeps the calibration itself: KWin stores the colour profile
// assigned to each output per monitor and loads its 'vcgt' at every log-on.
// So OK writes each display's profile (TonemarkN.icc beside the curve files)
// and assigns it through KWin's output management; load mode makes sure that
// it is still assigned, /uninstall takes Tonemark's profiles off. An editing
// session takes an assigned Tonemark profile off its output while it runs,
// so that the window's preview is not seen through the old calibration, and
// puts it back unless OK assigns the new one.
#pragma once

#include <string>
#include <vector>

#include "platform/wayland/kde_output_management.h"
#include "platform/wayland/profile_files.h"
#include "shell/calibration_keeper.h"

class TKdeKeeper : public TCalibrationKeeper {
 public:
  explicit TKdeKeeper(TProfileMaker makeProfile);

  std::string HandOverStoredCurves(const std::string& folder) override;
  bool EnsureStoredCurves(const std::string& folder, TLoadReport& report) override;
  std::string TakeBackStoredCurves() override;
  std::string SetAsideForSession(const std::string& folder) override;
  std::string PutBackAfterSession() override;

 private:
  TProfileMaker makeProfile_;
  // What the session took off, to put back.
  std::vector<TKdeOutputProfile> setAside_;
};

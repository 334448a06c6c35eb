// Who keeps the calibration once Tonemark has ended. Unless main() hands over
// a keeper, the loader does: at log-on and resume it runs load mode, which
// loads the stored curves into the video cards. A desktop that applies each
// display's colour profile itself (GNOME's Mutter, from colord) would
// overwrite those ramps; there the back-end's keeper hands the stored curves
// over as profiles instead.
#pragma once

#include <string>

#include "ramp/load_curves.h"

class TCalibrationKeeper {
 public:
  virtual ~TCalibrationKeeper() = default;
  // After OK has stored the curve files in `folder`: gives them to the
  // desktop. What went wrong, one line a problem; empty when all went well.
  virtual std::string HandOverStoredCurves(const std::string& folder) = 0;
  // Load mode, in place of loading ramps: makes sure that the desktop holds
  // each display's stored calibration and shows it. Displays for which it
  // could not are reported as refused (with the reason) or not kept. False,
  // having loaded nothing, when the desktop cannot take every display's
  // calibration (one stored before it could, or a display without a stored
  // curve), or leaves the loading to the loader: load mode then loads the
  // ramps as the loader does. Either way it may add notes for the user.
  virtual bool EnsureStoredCurves(const std::string& folder, TLoadReport& report) = 0;
  // /uninstall: takes Tonemark's calibration off the desktop. What went
  // wrong, as above.
  virtual std::string TakeBackStoredCurves() = 0;
  // The editing session starts: a desktop that applies the calibration
  // stored in `folder` itself stops for the session, so that the window
  // shows the edited one as it will look. What went wrong, as above.
  virtual std::string SetAsideForSession(const std::string& /*folder*/) { return ""; }
  // The session ended without OK: what SetAsideForSession took off goes
  // back. What went wrong, as above.
  virtual std::string PutBackAfterSession() { return ""; }
};

// The keeper that main() chose, or null when the loader keeps the calibration.
void SetCalibrationKeeper(TCalibrationKeeper* keeper);
TCalibrationKeeper* CalibrationKeeper();

// Windows' own calibration loading ("Use Windows display calibration"): with
// it on, Windows loads the 'vcgt' of each display's default colour profile
// itself, at log-on and after display changes, over what the loader loaded.
// The loader stays the keeper; this one tells the user where Windows would
// undo its work, and keeps Tonemark's own default profiles up to date at OK.
#pragma once

#include <string>

#include "ramp/records.h"
#include "shell/calibration_keeper.h"

class TSystemCalibrationKeeper : public TCalibrationKeeper {
 public:
  TSystemCalibrationKeeper();

  // The system's answers. Tests give their own: Wine implements none of them.
  // Whether Windows loads the displays' calibration itself.
  using TManagementQuery = bool (*)();
  TManagementQuery CalibrationManagementOn;
  // The file name of the default profile that Windows loads for a monitor
  // device (DISPLAY_DEVICE's DeviceID); empty when it names none.
  using TDefaultProfileQuery = std::string (*)(const std::string& monitorDevice);
  TDefaultProfileQuery DefaultProfile;
  // The folder of installed profiles, ending in "\".
  using TFolderQuery = std::string (*)();
  TFolderQuery ProfileFolder;

  // At OK: every default profile that is Tonemark's gets the new calibration.
  std::string HandOverStoredCurves(const std::string& folder) override;
  // Load mode: notes each display whose default profile would replace the
  // stored calibration, and leaves the loading to load mode.
  bool EnsureStoredCurves(const std::string& folder, TLoadReport& report) override;
  std::string TakeBackStoredCurves() override { return ""; }
  // At the session's start: the same notes, for the window to show.
  std::string SetAsideForSession(const std::string& folder) override;

 private:
  // One line a display that Windows would load another calibration into.
  std::vector<std::string> Notices(const std::string& folder);
};

// Writes the profile of `curve` for `display` over the file at `path`; what
// went wrong, empty when nothing did. Built with the profile maker where it
// is at hand.
std::string RewriteCalibrationProfile(const TRampCurve& curve, const TDisplay& display, const std::string& path);

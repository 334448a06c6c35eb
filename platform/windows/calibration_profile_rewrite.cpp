// Tonemark.exe built with the profile maker: a default profile that is
// Tonemark's gets the calibration stored at OK.
#include <exception>

#include "platform/windows/system_calibration_keeper.h"
#include "profile/display_profile.h"
#include "ramp/atomic_file.h"

std::string RewriteCalibrationProfile(const TRampCurve& curve, const TDisplay& display, const std::string& path) {
  try {
    WriteFileAtomically(path, CalibrationProfileBytes(curve, display));
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

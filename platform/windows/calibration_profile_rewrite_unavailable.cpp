// Tonemark.exe built without the profile maker (lcms2's source was not at
// hand): it cannot write a profile, and says so.
#include "platform/windows/system_calibration_keeper.h"

std::string RewriteCalibrationProfile(const TRampCurve&, const TDisplay&, const std::string&) {
  return "this build of Tonemark cannot write colour profiles";
}

#include "platform/wayland/profile_files.h"

#include <exception>

#include "platform/wayland/backend_reasons.h"
#include "ramp/curve_assignment.h"
#include "ramp/atomic_file.h"
#include "ramp/curve_file.h"

std::string ProfileFilePath(const std::string& folder, int32_t index) {
  return folder + "Tonemark" + std::to_string(index + 1) + ".icc";
}

bool StoredCurve(const std::string& folder, int32_t index, TRampCurve& curve) {
  std::string deviceName;
  return ReadCurveFile(curve, deviceName, DisplayCurvePath(folder, index));
}

std::string WriteProfileFile(const TProfileMaker& makeProfile, const std::string& path, const TRampCurve& curve,
                             int32_t index) {
  if (!makeProfile) return NoProfileMakerReason();
  try {
    WriteFileAtomically(path, makeProfile(curve, Displays[index]));
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

std::string DisplayProblemLine(int32_t index, const std::string& problem) {
  return Worded("MDisplayProblem",
                {{"%d", std::to_string(index + 1)}, {"%s", Displays[index].Description}, {"%r", problem}});
}

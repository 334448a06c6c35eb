#include "platform/wayland/none_keeper.h"

#include <filesystem>
#include <stdexcept>

#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/none_displays.h"
#include "ramp/curve_assignment.h"
#include "ramp/atomic_file.h"
#include "ramp/curve_file.h"
#include "ramp/file_error.h"

bool TNoneKeeper::WriteProfile(const std::string& folder, int32_t index) {
  TRampCurve curve;
  std::string deviceName;
  if (!ReadCurveFile(curve, deviceName, DisplayCurvePath(folder, index))) return false;
  if (!makeProfile_) throw std::runtime_error(NoProfileMakerReason());
  WriteFileAtomically(ProfileFilePath(folder, index), makeProfile_(curve, Displays[index]));
  return true;
}

std::string TNoneKeeper::HandOverStoredCurves(const std::string& folder) {
  std::string problems;
  bool written = false;
  for (int32_t i = 0; i < DisplayCount; ++i) {
    try {
      if (WriteProfile(folder, i)) written = true;
    } catch (const std::exception& error) {
      problems += "\n" + DisplayProblemLine(i, error.what());
    }
  }
  const std::string where = written ? Worded("MProfilesForSettings", {{"%s", folder}}) : "";
  return problems.empty() ? where : where + (where.empty() ? problems.substr(1) : problems);
}

// Curves stored before there were profiles (under X11, or by an older
// Tonemark) get theirs here. Without every display's curve, load mode reports
// as the loader does.
bool TNoneKeeper::EnsureStoredCurves(const std::string& folder, TLoadReport& report) {
  for (int32_t i = 0; i < DisplayCount; ++i) {
    std::error_code error;
    if (!std::filesystem::exists(DisplayCurvePath(folder, i), error)) return false;
  }
  for (int32_t i = 0; i < DisplayCount; ++i) {
    const std::string path = ProfileFilePath(folder, i);
    std::string where = Worded("MProfileForSettings", {{"%s", path}});
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
      try {
        WriteProfile(folder, i);
      } catch (const std::exception& failure) {
        where = Worded("MProfileNotWritten", {{"%p", path}, {"%r", failure.what()}});
      }
    }
    report.Refused.emplace_back(i, std::string(NoRampInterfaceReason()) + "; " + where);
  }
  return true;
}

std::unique_ptr<TCalibrationKeeper> TNoRampDisplays::CalibrationKeeper(const TProfileMaker& makeProfile) {
  return std::make_unique<TNoneKeeper>(makeProfile);
}

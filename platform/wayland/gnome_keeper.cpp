#include "platform/wayland/gnome_keeper.h"

#include <fstream>
#include <iterator>

#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/colord_devices.h"
#include "ramp/build_ramp.h"
#include "ramp/file_error.h"
#include "ramp/ramp_resample.h"

namespace {

// Mutter applies a new default profile when colord tells it, a moment later.
constexpr int VerifyAttempts = 30;
constexpr int32_t VerifyPauseMs = 100;

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

}  // namespace

TGnomeKeeper::TGnomeKeeper(TGnomeDisplays& displays, TProfileMaker makeProfile)
    : displays_(displays), makeProfile_(std::move(makeProfile)) {}

std::string TGnomeKeeper::HandOverStoredCurves(const std::string& folder) {
  TColordDevices colord;
  std::string problems;
  for (int32_t i = 0; i < DisplayCount; ++i) {
    // A display that takes no ramp (a virtual monitor) has no profile either.
    if (!displays_.RampRefusal(Displays[i].DC).empty()) continue;
    const std::string path = ProfileFilePath(folder, i);
    std::string problem, bytes;
    try {
      TRampCurve curve;
      if (!StoredCurve(folder, i, curve)) continue;
      problem = WriteProfileFile(makeProfile_, path, curve, i);
    } catch (const TFileError& error) {
      problem = error.what();
    }
    if (problem.empty() && !ReadFileBytes(path, bytes)) problem = Worded("MProfileNotReadBack", {{"%p", path}});
    if (problem.empty()) problem = colord.MakeDefault(Displays[i].MonitorInfo.DeviceName, path, bytes);
    if (!problem.empty())
      problems += (problems.empty() ? "" : "\n") + DisplayProblemLine(i, Worded("MGnomeWillNotKeep", {{"%r", problem}}));
  }
  // The messages port names the back-end under every message.
  return problems;
}

bool TGnomeKeeper::EnsureStoredCurves(const std::string& folder, TLoadReport& report) {
  // Every display's curve and profile first, and colord to hand them to:
  // without them all, the ramps are loaded as before, which Mutter keeps
  // until its next change of them.
  TColordDevices colord;
  if (!colord.Answers()) return false;
  std::vector<TRampCurve> curves(DisplayCount);
  std::vector<std::string> profiles(DisplayCount);
  for (int32_t i = 0; i < DisplayCount; ++i) {
    if (!displays_.RampRefusal(Displays[i].DC).empty()) continue;
    try {
      if (!StoredCurve(folder, i, curves[i])) return false;
    } catch (const TFileError&) {
      return false;
    }
    if (!ReadFileBytes(ProfileFilePath(folder, i), profiles[i]) &&
        (!WriteProfileFile(makeProfile_, ProfileFilePath(folder, i), curves[i], i).empty() ||
         !ReadFileBytes(ProfileFilePath(folder, i), profiles[i])))
      return false;
  }
  std::vector<std::pair<int32_t, TGammaRamp>> expected;
  for (int32_t i = 0; i < DisplayCount; ++i) {
    // A display that takes no ramp (a virtual monitor) shows no profile's curve either.
    const std::string refusal = displays_.RampRefusal(Displays[i].DC);
    if (!refusal.empty()) {
      report.Refused.emplace_back(i, refusal);
      continue;
    }
    const std::string problem =
        colord.EnsureDefault(Displays[i].MonitorInfo.DeviceName, ProfileFilePath(folder, i), profiles[i]);
    if (!problem.empty()) {
      report.Refused.emplace_back(i, problem);
      continue;
    }
    TGammaRamp ramp{};
    BuildRamp(curves[i], ramp);
    expected.emplace_back(i, ramp);
  }
  // Night Light changes the ramps on purpose: they cannot be compared then.
  if (!displays_.NightLightActive()) VerifyShown(expected, report);
  return true;
}

void TGnomeKeeper::VerifyShown(const std::vector<std::pair<int32_t, TGammaRamp>>& expected, TLoadReport& report) {
  std::vector<bool> shown(expected.size(), false);
  for (int attempt = 0; attempt < VerifyAttempts; ++attempt) {
    bool all = true;
    for (size_t k = 0; k < expected.size(); ++k) {
      if (shown[k]) continue;
      const TDisplayHandle display = Displays[expected[k].first].DC;
      TGammaRamp held{};
      shown[k] = displays_.GetRamp(display, held) &&
                 HeldAsLoaded(held, ReadBackOf(expected[k].second, displays_.RampSize(display)));
      all = all && shown[k];
    }
    if (all) return;
    displays_.Wait(VerifyPauseMs);
  }
  for (size_t k = 0; k < expected.size(); ++k) {
    if (shown[k]) continue;
    const std::string refusal = displays_.RampRefusal(Displays[expected[k].first].DC);
    if (refusal.empty()) report.NotKept.push_back(expected[k].first);
    else report.Refused.emplace_back(expected[k].first, refusal);
  }
}

std::string TGnomeKeeper::TakeBackStoredCurves() {
  TColordDevices colord;
  std::string problems;
  for (int32_t i = 0; i < DisplayCount; ++i) {
    const std::string problem = colord.RemoveOwnProfiles(Displays[i].MonitorInfo.DeviceName);
    if (!problem.empty()) problems += (problems.empty() ? "" : "\n") + DisplayProblemLine(i, problem);
  }
  return problems;
}

std::unique_ptr<TCalibrationKeeper> TGnomeDisplays::CalibrationKeeper(const TProfileMaker& makeProfile) {
  return std::make_unique<TGnomeKeeper>(*this, makeProfile);
}

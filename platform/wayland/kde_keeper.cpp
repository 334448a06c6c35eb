#include "platform/wayland/kde_keeper.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/kde_displays.h"
#include "ramp/curve_assignment.h"
#include "ramp/curve_file.h"
#include "ramp/file_error.h"
#include "ramp/records.h"

namespace {

constexpr const char* OwnProfilePrefix = "Tonemark";
constexpr const char* OwnProfileSuffix = ".icc";

const TKdeOutputProfile* ProfileOf(const std::vector<TKdeOutputProfile>& profiles, const std::string& output) {
  const auto found = std::find_if(profiles.begin(), profiles.end(),
                                  [&](const TKdeOutputProfile& profile) { return profile.Output == output; });
  return found != profiles.end() ? &*found : nullptr;
}

bool Assigned(const TKdeOutputProfile* held, const std::string& path) {
  return held != nullptr && held->Path == path && held->Source == KdeProfileSourceIcc;
}

// TonemarkN.icc, wherever it lies: the name that ProfileFilePath gives.
bool IsOwnProfile(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  const std::string prefix = OwnProfilePrefix, suffix = OwnProfileSuffix;
  if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) || !name.ends_with(suffix))
    return false;
  const std::string number = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  return std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
}

TKdeOutputProfile Calibration(int32_t index, const std::string& folder) {
  return {Displays[index].MonitorInfo.DeviceName, ProfileFilePath(folder, index), KdeProfileSourceIcc};
}

TKdeOutputProfile NoProfile(const std::string& output) { return {output, "", KdeProfileSourceSrgb}; }

// Why KWin does not hold `wanted` after an assignment that it applied.
std::string NotHeldReason(const std::vector<TKdeOutputProfile>& held, const TKdeOutputProfile& wanted) {
  return ProfileOf(held, wanted.Output) == nullptr ? OutputGoneReason() : KWinDidNotKeepReason();
}

int32_t DisplayOf(const std::string& output) {
  for (int32_t i = 0; i < DisplayCount; ++i)
    if (Displays[i].MonitorInfo.DeviceName == output) return i;
  return -1;
}

void AddLine(std::string& lines, const std::string& line) {
  if (!line.empty()) lines += (lines.empty() ? "" : "\n") + line;
}

// A line for each display whose set-aside profile could not go back, since
// KWin no longer has its output.
std::string UnpluggedSetAside(const std::vector<TKdeOutputProfile>& putBack,
                              const std::vector<TKdeOutputProfile>& held) {
  std::string lines;
  for (const TKdeOutputProfile& profile : putBack) {
    const int32_t display = DisplayOf(profile.Output);
    if (ProfileOf(held, profile.Output) != nullptr || display < 0) continue;
    AddLine(lines, DisplayProblemLine(display, Worded("MKWinLostSetAside", {{"%r", OutputGoneReason()}})));
  }
  return lines;
}

}  // namespace

TKdeKeeper::TKdeKeeper(TProfileMaker makeProfile) : makeProfile_(std::move(makeProfile)) {}

std::string TKdeKeeper::HandOverStoredCurves(const std::string& folder) {
  TKdeOutputManagement kwin;
  std::vector<TKdeOutputProfile> wanted;
  std::vector<int32_t> shown;
  std::string problems;
  for (int32_t i = 0; i < DisplayCount; ++i) {
    std::string problem;
    try {
      TRampCurve curve;
      if (!StoredCurve(folder, i, curve)) continue;
      problem = WriteProfileFile(makeProfile_, ProfileFilePath(folder, i), curve, i);
    } catch (const TFileError& error) {
      problem = error.what();
    }
    if (problem.empty() && !kwin.TakesProfile(Displays[i].MonitorInfo.DeviceName)) problem = KWinTakesNoProfileReason();
    if (!problem.empty()) {
      AddLine(problems, DisplayProblemLine(i, Worded("MKWinWillNotKeep", {{"%r", problem}})));
      continue;
    }
    wanted.push_back(Calibration(i, folder));
    shown.push_back(i);
  }
  // What the session took off goes back where no new profile replaces it.
  for (const TKdeOutputProfile& before : setAside_)
    if (ProfileOf(wanted, before.Output) == nullptr) wanted.push_back(before);
  setAside_.clear();
  if (wanted.empty()) return problems;
  const std::string problem = kwin.Assign(wanted);
  const std::vector<TKdeOutputProfile> held = kwin.Profiles();
  for (size_t k = 0; k < shown.size(); ++k) {
    if (problem.empty() && Assigned(ProfileOf(held, wanted[k].Output), wanted[k].Path)) continue;
    const std::string why = problem.empty() ? NotHeldReason(held, wanted[k]) : problem;
    AddLine(problems, DisplayProblemLine(shown[k], Worded("MKWinWillNotKeep", {{"%r", why}})));
  }
  const std::vector<TKdeOutputProfile> putBack(wanted.begin() + static_cast<ptrdiff_t>(shown.size()), wanted.end());
  if (problem.empty()) AddLine(problems, UnpluggedSetAside(putBack, held));
  return problems;
}

bool TKdeKeeper::EnsureStoredCurves(const std::string& folder, TLoadReport& report) {
  TKdeOutputManagement kwin;
  const std::vector<TKdeOutputProfile> before = kwin.Profiles();
  std::vector<TKdeOutputProfile> wanted;
  std::vector<int32_t> assigning;
  std::string unreadable;
  for (int32_t i = 0; i < DisplayCount; ++i) {
    TRampCurve curve;
    try {
      if (!StoredCurve(folder, i, curve)) continue;
    } catch (const TFileError& error) {
      AddLine(unreadable, CurveFileErrorText(DisplayCurvePath(folder, i), error.what()));
      continue;
    }
    const std::string path = ProfileFilePath(folder, i);
    if (!std::filesystem::exists(path)) {
      // Curves stored before the profiles were (under X11, or by an older
      // Tonemark) get them here, as OK would have written them.
      const std::string problem = WriteProfileFile(makeProfile_, path, curve, i);
      if (!problem.empty()) {
        report.Refused.emplace_back(i, Worded("MProfileMissing", {{"%p", path}, {"%r", problem}}));
        continue;
      }
    }
    if (!kwin.Problem().empty()) report.Refused.emplace_back(i, kwin.Problem());
    else if (!kwin.TakesProfile(Displays[i].MonitorInfo.DeviceName))
      report.Refused.emplace_back(i, KWinTakesNoProfileReason());
    else if (!Assigned(ProfileOf(before, Displays[i].MonitorInfo.DeviceName), path)) {
      wanted.push_back(Calibration(i, folder));
      assigning.push_back(i);
    }
  }
  if (!wanted.empty()) {
    const std::string problem = kwin.Assign(wanted);
    const std::vector<TKdeOutputProfile> after = kwin.Profiles();
    for (size_t k = 0; k < wanted.size(); ++k) {
      if (!problem.empty()) report.Refused.emplace_back(assigning[k], problem);
      else if (!Assigned(ProfileOf(after, wanted[k].Output), wanted[k].Path))
        report.Refused.emplace_back(assigning[k], NotHeldReason(after, wanted[k]));
    }
  }
  if (!unreadable.empty()) throw TFileError(unreadable);
  // Ramps are never loaded here: KWin takes none.
  return true;
}

std::string TKdeKeeper::TakeBackStoredCurves() {
  TKdeOutputManagement kwin;
  std::vector<TKdeOutputProfile> off;
  for (const TKdeOutputProfile& profile : kwin.Profiles())
    if (IsOwnProfile(profile.Path)) off.push_back(NoProfile(profile.Output));
  const std::string problem = kwin.Problem().empty() && off.empty() ? "" : kwin.Assign(off);
  return problem.empty() ? "" : Worded("MProfilesNotTakenOff", {{"%r", problem}});
}

std::string TKdeKeeper::SetAsideForSession(const std::string& folder) {
  TKdeOutputManagement kwin;
  const std::vector<TKdeOutputProfile> held = kwin.Profiles();
  std::vector<TKdeOutputProfile> off;
  setAside_.clear();
  for (int32_t i = 0; i < DisplayCount; ++i) {
    const TKdeOutputProfile* now = ProfileOf(held, Displays[i].MonitorInfo.DeviceName);
    if (!Assigned(now, ProfileFilePath(folder, i))) continue;
    setAside_.push_back(*now);
    off.push_back(NoProfile(now->Output));
  }
  if (off.empty()) return "";
  const std::string problem = kwin.Assign(off);
  if (problem.empty()) return "";
  setAside_.clear();
  return Worded("MKWinShowsStored", {{"%r", problem}});
}

std::string TKdeKeeper::PutBackAfterSession() {
  if (setAside_.empty()) return "";
  TKdeOutputManagement kwin;
  const std::string problem = kwin.Assign(setAside_);
  const std::vector<TKdeOutputProfile> putBack = std::move(setAside_);
  setAside_.clear();
  return problem.empty() ? UnpluggedSetAside(putBack, kwin.Profiles())
                         : Worded("MKWinDidNotGetBack", {{"%r", problem}});
}

std::unique_ptr<TCalibrationKeeper> TKdeDisplays::CalibrationKeeper(const TProfileMaker& makeProfile) {
  return std::make_unique<TKdeKeeper>(makeProfile);
}

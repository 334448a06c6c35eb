#include "platform/windows/system_calibration_keeper.h"

#include <windows.h>
#include <icm.h>

#include <exception>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "lang/multilang.h"
#include "platform/windows/runs_on_wine.h"
#include "ramp/curve_assignment.h"
#include "ramp/curve_file.h"
#include "ramp/displays_port.h"
#include "shell/system_profile.h"

namespace {

// CLASS_MONITOR, 'mntr', without the multi-character constant.
constexpr DWORD MonitorClass = 0x6D6E7472;

std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(const wchar_t* text) {
  char narrow[MAX_PATH * 2] = "";
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

// Not in the cross compiler's headers, and only looked up: calling it under
// Wine would end the process.
bool SystemCalibrationManagementOn() {
  if (RunsOnWine()) return false;
  using TQuery = BOOL(WINAPI*)(BOOL*);
  const HMODULE mscms = LoadLibraryA("mscms.dll");
  if (mscms == nullptr) return false;
  const auto query = reinterpret_cast<TQuery>(reinterpret_cast<void*>(GetProcAddress(mscms, "WcsGetCalibrationManagementState")));
  BOOL enabled = FALSE;
  const bool on = query != nullptr && query(&enabled) && enabled;
  FreeLibrary(mscms);
  return on;
}

// The user's own default where the user has chosen to keep one, else the
// machine's.
std::string SystemDefaultProfile(const std::string& monitorDevice) {
  if (RunsOnWine() || monitorDevice.empty()) return "";
  const std::wstring device = Wide(monitorDevice);
  BOOL perUser = FALSE;
  const WCS_PROFILE_MANAGEMENT_SCOPE scope =
      WcsGetUsePerUserProfiles(device.c_str(), MonitorClass, &perUser) && perUser
          ? WCS_PROFILE_MANAGEMENT_SCOPE_CURRENT_USER
          : WCS_PROFILE_MANAGEMENT_SCOPE_SYSTEM_WIDE;
  wchar_t name[MAX_PATH] = L"";
  if (!WcsGetDefaultColorProfile(scope, device.c_str(), CPT_ICC, CPST_NONE, 0, sizeof name, name)) return "";
  return Narrow(name);
}

std::string SystemProfileFolder() {
  char folder[MAX_PATH] = "";
  DWORD size = sizeof folder;
  if (!GetColorDirectoryA(nullptr, folder, &size)) return "";
  return std::string(folder) + "\\";
}

std::string FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The text of `key` about display `index`: its number for "%d", its
// description for "%s", and the other fields given.
std::string AboutDisplay(const std::string& key, int32_t index,
                         const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string text = Translate(key);
  std::vector<std::pair<std::string, std::string>> all = {{"%d", std::to_string(index + 1)},
                                                          {"%s", Displays[index].Description}};
  all.insert(all.end(), fields.begin(), fields.end());
  for (const auto& [field, value] : all)
    for (size_t at = text.find(field); at != std::string::npos; at = text.find(field, at + value.size()))
      text.replace(at, field.size(), value);
  return text;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

}  // namespace

TSystemCalibrationKeeper::TSystemCalibrationKeeper()
    : CalibrationManagementOn(SystemCalibrationManagementOn),
      DefaultProfile(SystemDefaultProfile),
      ProfileFolder(SystemProfileFolder) {}

std::vector<std::string> TSystemCalibrationKeeper::Notices(const std::string& folder) {
  std::vector<std::string> notices;
  if (!CalibrationManagementOn()) return notices;
  for (int32_t i = 0; i < DisplayCount; ++i) {
    TSystemProfile profile{DefaultProfile(Displays[i].Device.DeviceID), ""};
    const std::optional<TGammaRamp> stored = StoredRampOf(folder, i);
    // Without a default profile Windows has nothing to load; a curve file
    // that cannot be read is load mode's to report.
    if (profile.Name.empty() || !stored) continue;
    profile.Bytes = FileBytes(ProfileFolder() + profile.Name);
    const std::string notice = SystemProfileNotice(i, profile, *stored);
    if (!notice.empty()) notices.push_back(notice);
  }
  return notices;
}

std::string TSystemCalibrationKeeper::HandOverStoredCurves(const std::string& folder) {
  std::vector<std::string> problems;
  if (!CalibrationManagementOn()) return "";
  for (int32_t i = 0; i < DisplayCount; ++i) {
    const std::string name = DefaultProfile(Displays[i].Device.DeviceID);
    if (name.empty()) continue;
    const std::string path = ProfileFolder() + name;
    if (!MadeWithTonemark(FileBytes(path))) continue;
    TRampCurve curve;
    std::string deviceName;
    try {
      if (!ReadCurveFile(curve, deviceName, DisplayCurvePath(folder, i))) continue;
    } catch (const std::exception&) {
      continue;  // not stored at this OK: the window has said so
    }
    const std::string whyNot = RewriteCalibrationProfile(curve, Displays[i], path);
    if (!whyNot.empty()) problems.push_back(AboutDisplay("MProfileNotUpdated", i, {{"%p", name}, {"%r", whyNot}}));
  }
  return Lines(problems);
}

bool TSystemCalibrationKeeper::EnsureStoredCurves(const std::string& folder, TLoadReport& report) {
  for (const std::string& notice : Notices(folder)) report.Notes.push_back(notice);
  return false;
}

std::string TSystemCalibrationKeeper::SetAsideForSession(const std::string& folder) {
  std::vector<std::string> lines = Notices(folder);
  // Where Windows could not say whether a display bypasses ramps, the user
  // judges by eye: the window is the place to learn it.
  for (int32_t i = 0; i < DisplayCount; ++i) {
    const std::string doubt = DisplaysPort().RampDoubt(Displays[i].DC);
    if (!doubt.empty()) lines.push_back(AboutDisplay("MRampInDoubt", i, {{"%r", doubt}}));
  }
  return Lines(lines);
}

#include "platform/windows/profile_install.h"

#include <windows.h>
#include <icm.h>

#include <functional>

#include "platform/windows/runs_on_wine.h"
#include "shell/data_folders.h"

namespace {

// CLASS_MONITOR, 'mntr', without the multi-character constant.
constexpr DWORD MonitorClass = 0x6D6E7472;

std::string ErrorText(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length > 0 ? std::string(text, length) : "system error " + std::to_string(error);
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
    message.pop_back();
  return message;
}

std::wstring Wide(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

// Runs one call, saying what it did or the system's reason why not.
bool Step(std::ostream& report, const std::string& done, const std::string& failed,
          const std::function<BOOL()>& call) {
  if (call()) {
    report << done << "\n";
    return true;
  }
  report << failed << ": " << ErrorText(GetLastError()) << "\n";
  return false;
}

// Wine does implement the older machine-wide association; for a monitor it
// also makes the profile its default.
bool AssociateForAllUsers(std::ostream& report, const std::string& name, const std::string& device) {
  return Step(report, "Associated it with monitor " + device + " for all users.",
              "Could not associate it with monitor " + device,
              [&] { return AssociateColorProfileWithDeviceA(nullptr, name.c_str(), device.c_str()); });
}

bool AssociateForCurrentUser(std::ostream& report, const std::string& profileName,
                             const std::string& monitor) {
  const std::wstring name = Wide(profileName), device = Wide(monitor);
  return Step(report, "Associated it with monitor " + monitor + ".",
              "Could not associate it with monitor " + monitor,
              [&] {
                return WcsAssociateColorProfileWithDevice(WCS_PROFILE_MANAGEMENT_SCOPE_CURRENT_USER,
                                                          name.c_str(), device.c_str());
              }) &&
         Step(report, "Made it your default profile of that monitor.",
              "Could not make it the default profile of monitor " + monitor, [&] {
                return WcsSetUsePerUserProfiles(device.c_str(), MonitorClass, TRUE) &&
                       WcsSetDefaultColorProfile(WCS_PROFILE_MANAGEMENT_SCOPE_CURRENT_USER, device.c_str(),
                                                 CPT_ICC, CPST_NONE, 0, name.c_str());
              });
}

}  // namespace

bool TWindowsProfileInstaller::Install(const std::string& path, const TDisplay& display,
                                       std::ostream& report) {
  const std::string name = path.substr(FolderOf(path).size());
  const std::string& device = display.Device.DeviceID;
  if (device.empty()) {
    report << "The system names no monitor device for " << display.MonitorInfo.DeviceName
           << ", so the profile could not be associated with it.\n";
    return false;
  }
  // A profile of the same name from an earlier run is in the way: the system
  // does not overwrite it, so it goes first.
  const auto install = [&]() -> BOOL {
    if (InstallColorProfileA(nullptr, path.c_str())) return TRUE;
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return FALSE;
    char folder[MAX_PATH] = "";
    DWORD size = sizeof folder;
    if (!GetColorDirectoryA(nullptr, folder, &size)) return FALSE;
    const std::string installed = std::string(folder) + "\\" + name;
    DisassociateColorProfileFromDeviceA(nullptr, installed.c_str(), device.c_str());
    return UninstallColorProfileA(nullptr, installed.c_str(), TRUE) && InstallColorProfileA(nullptr, path.c_str());
  };
  return Step(report, "Installed " + name + " in the system's colour folder.", "Could not install " + name,
              install) &&
         (RunsOnWine() ? AssociateForAllUsers(report, name, device)
                       : AssociateForCurrentUser(report, name, device));
}

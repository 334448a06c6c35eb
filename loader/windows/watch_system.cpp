#include "loader/windows/watch_system.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "loader/windows/launch.h"
#include "loader/windows/launch_command.h"

namespace {

constexpr const char* SessionMutexName = "Orvana.Tonemark";
constexpr const char* DataSubFolder = "Orvana\\Tonemark\\";
constexpr const char* SimVariable = "TONEMARK_SIM";
constexpr const char* SimDevicePrefix = "sim:";
constexpr const char* TonemarkExe = "tonemark.exe";
constexpr uint16_t LinearStep = 257;

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string SpecialFolder(int which) {
  char path[MAX_PATH] = {};
  if (SHGetFolderPathA(nullptr, which, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
  return path;
}

bool ReadSimRamp(const char* device, uint16_t* ramp) {
  const char* sim = std::getenv(SimVariable);
  if (sim == nullptr || std::strncmp(device, SimDevicePrefix, std::strlen(SimDevicePrefix)) != 0) return false;
  std::string path = sim;
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
  path += std::string("ramp") + (device + std::strlen(SimDevicePrefix)) + ".txt";
  std::ifstream in(path, std::ios::binary);
  if (!in) {  // a display nobody has set a ramp on
    for (int i = 0; i < RampEntries; ++i) ramp[i] = static_cast<uint16_t>(i % RampLevels * LinearStep);
    return true;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // The file's 768 numbers read as a shown-file ramp does.
  std::string line = "[Display]\nRamp=";
  for (char c : text) line += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
  static TShownFile parsed;
  ReadShownText(line.data(), line.size(), parsed);
  if (parsed.Count != 1 || !parsed.Displays[0].HasRamp) return false;
  std::memcpy(ramp, parsed.Displays[0].Ramp, sizeof parsed.Displays[0].Ramp);
  return true;
}

bool ReadDeviceRamp(const char* device, uint16_t* ramp) {
  HDC dc = CreateDCA("DISPLAY", device, nullptr, nullptr);
  if (dc == nullptr) return false;
  WORD channels[3][RampLevels];
  const bool read = GetDeviceGammaRamp(dc, channels) != FALSE;
  DeleteDC(dc);
  if (read) std::memcpy(ramp, channels, sizeof channels);
  return read;
}

}  // namespace

std::string DataFolder() {
  const std::string own = FolderOfPath(OwnProgramPath());
  const std::string programFiles = SpecialFolder(CSIDL_PROGRAM_FILES);
  if (programFiles.empty() || Upper(own).find(Upper(programFiles)) == std::string::npos) return own;
  const std::string common = SpecialFolder(CSIDL_COMMON_APPDATA);
  return common.empty() ? own : common + "\\" + DataSubFolder;
}

bool ReadPresentRamp(int, const TShownDisplay& display, uint16_t* ramp) {
  if (std::strcmp(display.Backend, "sim") == 0) return ReadSimRamp(display.Device, ramp);
  if (std::strcmp(display.Backend, "windows") == 0) return ReadDeviceRamp(display.Device, ramp);
  return false;
}

bool CalibrationWindowOpen() {
  HANDLE session = OpenMutexA(SYNCHRONIZE, FALSE, SessionMutexName);
  if (session == nullptr) return false;
  CloseHandle(session);
  return true;
}

TRunningPrograms LookAtRunningPrograms(const char* leaveAloneList) {
  TRunningPrograms found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (Upper(entry.szExeFile) == Upper(TonemarkExe)) found.TonemarkRuns = true;
    if (found.LeaveAlone[0] == '\0' && NameInList(entry.szExeFile, sizeof entry.szExeFile, leaveAloneList)) {
      std::snprintf(found.LeaveAlone, sizeof found.LeaveAlone, "%s", entry.szExeFile);
    }
  }
  CloseHandle(snapshot);
  return found;
}

HANDLE LaunchReapply(const char* identity) {
  std::string commandLine = LoadModeCommandLine(FolderOfPath(OwnProgramPath())) + " /reapply " + identity;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                      &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

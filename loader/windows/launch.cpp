#include "loader/windows/launch.h"

#include <windows.h>

#include <vector>

#include "loader/windows/launch_command.h"
#include "tonemark_version.h"

std::string OwnProgramPath() {
  // Paths may be longer than MAX_PATH; grow until the name fits.
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

namespace {

constexpr const char* SafeVariable = "TONEMARK_SAFE";

HANDLE Launch(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  // CreateProcessA may write into the command line, so it gets a private copy.
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                     nullptr, nullptr, &startup, &process)) {
    return nullptr;
  }
  CloseHandle(process.hThread);
  return process.hProcess;
}

}  // namespace

HANDLE LaunchLoadMode() { return Launch(LoadModeCommandLine(FolderOfPath(OwnProgramPath()))); }

HANDLE LaunchSafeLoadMode() {
  // The child takes the loader's environment; the variable is there only
  // while it is created (one thread creates processes).
  char before[8] = {};
  const bool had = GetEnvironmentVariableA(SafeVariable, before, sizeof before) > 0;
  SetEnvironmentVariableA(SafeVariable, "1");
  HANDLE process = LaunchLoadMode();
  SetEnvironmentVariableA(SafeVariable, had ? before : nullptr);
  return process;
}

void LaunchCalibration() {
  HANDLE process = Launch("\"" + FolderOfPath(OwnProgramPath()) + TONEMARK_PROGRAM "\"");
  if (process != nullptr) CloseHandle(process);
}

void TrimWorkingSet() {
  HANDLE self = OpenProcess(PROCESS_ALL_ACCESS, FALSE, GetCurrentProcessId());
  if (self == nullptr) return;
  Sleep(0);
  // Both limits at (SIZE_T)-1 is the documented request to empty the working set.
  SetProcessWorkingSetSize(self, static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
  CloseHandle(self);
}

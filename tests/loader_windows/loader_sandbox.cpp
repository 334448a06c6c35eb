#include "tests/loader_windows/loader_sandbox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {
constexpr DWORD PollMs = 100;
constexpr int StartAttempts = 5;
constexpr DWORD StartRetryMs = 500;

// The build hands over Unix paths; under Wine they are reached through drive Z:.
std::string BuiltProgram(const char* variable) {
  const char* value = std::getenv(variable);
  if (value == nullptr) return {};
  std::string path = value;
  if (!path.empty() && path[0] == '/') {
    for (char& c : path)
      if (c == '/') c = '\\';
    path = "Z:" + path;
  }
  return path;
}

bool CopyProgram(const std::string& from, const std::string& to) {
  const bool copied = CopyFileA(from.c_str(), to.c_str(), FALSE);
  EXPECT_TRUE(copied) << from << " -> " << to;
  return copied;
}

std::vector<RecordedStart> ReadStarts(const std::string& file) {
  std::vector<RecordedStart> starts;
  std::istringstream lines(ReadBytes(file));
  std::string line;
  // A line still being written has no line break yet and is left for the next read.
  while (std::getline(lines, line) && !lines.eof()) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t blank = line.find(' ');
    if (blank == std::string::npos) continue;
    starts.push_back({std::stoull(line.substr(0, blank)), line.substr(blank + 1)});
  }
  return starts;
}

void CloseLoaderWindows() {
  for (HWND window = FindWindowA("TonewatchWnd", nullptr); window != nullptr;
       window = FindWindowExA(nullptr, window, "TonewatchWnd", nullptr))
    PostMessageA(window, WM_CLOSE, 0, 0);
}
}  // namespace

LoaderSandbox::LoaderSandbox() {
  // A loader left over from elsewhere would hold the single-instance mutex.
  EXPECT_EQ(FindWindowA("TonewatchWnd", nullptr), nullptr) << "a loader is already running";
  const std::filesystem::path install = temp_.Path() / "Program Files" / "Tonewatch";
  std::filesystem::create_directories(install);
  installFolder_ = (install / "").string();
  const std::string loader = BuiltProgram("TONEWATCH_EXE");
  const std::string standIn = BuiltProgram("TONEWATCH_STAND_IN");
  EXPECT_FALSE(loader.empty() || standIn.empty()) << "TONEWATCH_EXE and TONEWATCH_STAND_IN";
  installed_ = CopyProgram(loader, installFolder_ + "Tonewatch.exe") &&
               CopyProgram(standIn, installFolder_ + "Tonemark.exe") &&
               CopyProgram(standIn, temp_.File("Program.exe"));
}

LoaderSandbox::~LoaderSandbox() {
  bool anyRunning = false;
  for (HANDLE loader : loaders_) anyRunning = anyRunning || IsRunning(loader);
  if (anyRunning) CloseLoaderWindows();
  for (HANDLE loader : loaders_) {
    if (WaitForSingleObject(loader, LoaderTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(loader, 1);
    WaitForSingleObject(loader, LoaderTimeoutMs);
    CloseHandle(loader);
  }
  // Stand-ins still starting would keep their folder busy.
  for (int attempt = 0; attempt < 50; ++attempt) {
    std::error_code error;
    std::filesystem::remove_all(temp_.Path(), error);
    if (!error) break;
    Sleep(PollMs);
  }
}

HANDLE LoaderSandbox::StartLoader(const std::string& arguments) {
  if (!installed_) return nullptr;
  std::string commandLine = "\"" + installFolder_ + "Tonewatch.exe\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  // Wine, busy with the processes of the test before, now and then fails a
  // start with an internal error (1359); a moment later the same start works.
  DWORD error = 0;
  for (int attempt = 0; attempt < StartAttempts; ++attempt) {
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
      error = 0;
      break;
    }
    error = GetLastError();
    if (error != ERROR_INTERNAL_ERROR) break;
    Sleep(StartRetryMs);
  }
  if (error != 0) {
    ADD_FAILURE() << "cannot start " << commandLine << ": error " << error;
    return nullptr;
  }
  CloseHandle(process.hThread);
  loaders_.push_back(process.hProcess);
  return process.hProcess;
}

void LoaderSandbox::HoldEachRun(DWORD ms) { WriteBytes(installFolder_ + "hold-ms.txt", std::to_string(ms)); }

std::vector<RecordedStart> LoaderSandbox::Ends() const { return ReadStarts(installFolder_ + "ends.txt"); }

std::vector<RecordedStart> LoaderSandbox::Starts() const {
  return ReadStarts(installFolder_ + "starts.txt");
}

bool LoaderSandbox::WaitForStarts(size_t count, DWORD timeoutMs) const {
  return installed_ && WaitUntil([&] { return Starts().size() >= count; }, timeoutMs);
}

bool LoaderSandbox::DecoyStarted() const {
  return std::filesystem::exists(temp_.Path() / "starts.txt");
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() > end) return false;
    Sleep(PollMs);
  }
  return true;
}

HWND WaitForLoaderWindow(DWORD timeoutMs) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindWindowA("TonewatchWnd", nullptr)) != nullptr; }, timeoutMs);
  return window;
}

bool WaitForExit(HANDLE process, DWORD& exitCode, DWORD timeoutMs) {
  if (process == nullptr || WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(process, &exitCode);
}

bool IsRunning(HANDLE process) {
  return process != nullptr && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

// Measures Tonewatch.exe's memory after its immediate launch, next to two
// baselines run the same way: an idle program, and an idle program with a hidden
// window and a message loop (the least that a window-owning program costs here).
// Figures come from GetProcessMemoryInfo and, under Wine, from the Linux
// /proc/<pid>/status of the same process.
//
// Usage: memory_probe.exe            (TONEWATCH_EXE, TONEWATCH_STAND_IN as for the tests)
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
constexpr DWORD SettleMs = 3000;
constexpr DWORD StartTimeoutMs = 60000;
constexpr const char* IdleOption = "--idle";
constexpr const char* IdleWindowOption = "--idle-window";

std::string WindowsPath(const char* variable) {
  const char* value = std::getenv(variable);
  std::string path = value ? value : "";
  if (!path.empty() && path[0] == '/') {
    for (char& c : path)
      if (c == '/') c = '\\';
    path = "Z:" + path;
  }
  return path;
}

std::string OwnPath() {
  char path[MAX_PATH * 4];
  return std::string(path, GetModuleFileNameA(nullptr, path, sizeof(path)));
}

HANDLE Start(const std::string& program, const std::string& arguments) {
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return nullptr;
  CloseHandle(process.hThread);
  return process.hProcess;
}

// Under Wine the Windows process is a Linux process whose command line names
// the executable; its status file holds the kernel's view of the same memory.
std::string LinuxStatus(const std::string& executableName) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("Z:\\proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream cmdline(entry.path() / "cmdline", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
    if (text.find(executableName) == std::string::npos) continue;
    std::ifstream status(entry.path() / "status");
    std::string line, figures;
    while (std::getline(status, line))
      if (line.rfind("VmRSS", 0) == 0 || line.rfind("RssAnon", 0) == 0 ||
          line.rfind("RssFile", 0) == 0)
        figures += "    linux " + line + "\n";
    return "    linux pid " + name + "\n" + figures;
  }
  return "    (no Linux process found)\n";
}

void Report(const char* what, HANDLE process, const std::string& executableName) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  std::printf("%s\n", what);
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters))) {
    std::printf("    WorkingSetSize      %8zu KiB\n", counters.WorkingSetSize / 1024);
    std::printf("    PeakWorkingSetSize  %8zu KiB\n", counters.PeakWorkingSetSize / 1024);
    std::printf("    PrivateUsage        %8zu KiB\n", counters.PrivateUsage / 1024);
    std::printf("    PagefileUsage       %8zu KiB\n", counters.PagefileUsage / 1024);
  } else {
    std::printf("    GetProcessMemoryInfo failed: %lu\n", GetLastError());
  }
  std::printf("%s", LinuxStatus(executableName).c_str());
  std::fflush(stdout);
}

int RunIdle(bool withWindow) {
  if (withWindow) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MemoryProbeIdle";
    RegisterClassA(&windowClass);
    CreateWindowExA(0, "MemoryProbeIdle", "", WS_CAPTION, 0, 0, 100, 100, nullptr, nullptr,
                    windowClass.hInstance, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  } else {
    Sleep(INFINITE);
  }
  return 0;
}

void MeasureBaseline(const char* what, const char* option, const std::string& copyName) {
  // Under its own name, so that its Linux process can be told from this one.
  const std::string copy =
      (std::filesystem::temp_directory_path() / copyName).string();
  CopyFileA(OwnPath().c_str(), copy.c_str(), FALSE);
  HANDLE process = Start(copy, option);
  Sleep(SettleMs);
  Report(what, process, copyName);
  TerminateProcess(process, 0);
  WaitForSingleObject(process, StartTimeoutMs);
  CloseHandle(process);
  DeleteFileA(copy.c_str());
}
}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == IdleOption) return RunIdle(false);
  if (argc > 1 && std::string(argv[1]) == IdleWindowOption) return RunIdle(true);

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tonewatch-memory-" + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(folder);
  const std::string loader = (folder / "Tonewatch.exe").string();
  const std::string starts = (folder / "starts.txt").string();
  if (!CopyFileA(WindowsPath("TONEWATCH_EXE").c_str(), loader.c_str(), FALSE) ||
      !CopyFileA(WindowsPath("TONEWATCH_STAND_IN").c_str(), (folder / "Tonemark.exe").string().c_str(),
                 FALSE)) {
    std::fprintf(stderr, "set TONEWATCH_EXE and TONEWATCH_STAND_IN\n");
    return 2;
  }

  HANDLE process = Start(loader, "/delay 300");
  const ULONGLONG end = GetTickCount64() + StartTimeoutMs;
  while (!std::filesystem::exists(starts) && GetTickCount64() < end) Sleep(100);
  Sleep(SettleMs);
  Report("Tonewatch.exe after its immediate launch", process, "Tonewatch.exe");
  if (HWND window = FindWindowA("TonewatchWnd", nullptr)) PostMessageA(window, WM_CLOSE, 0, 0);
  WaitForSingleObject(process, StartTimeoutMs);
  CloseHandle(process);
  std::filesystem::remove_all(folder);

  MeasureBaseline("Idle program (baseline)", IdleOption, "probe-idle.exe");
  MeasureBaseline("Idle program with a hidden window (baseline)", IdleWindowOption,
                  "probe-idle-window.exe");
  return 0;
}

// A throw-away install of Tonewatch.exe for black-box tests: the loader and a
// stand-in Tonemark.exe in "<temp>\Program Files\Tonewatch\", and the same
// stand-in as "<temp>\Program.exe", the program that an unquoted launch command
// line would start instead. Each stand-in records its starts in its own folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/temp_folder.h"

// Generous, for Wine on a busy two-core machine; the waits poll and return early.
constexpr DWORD LoaderTimeoutMs = 60000;

struct RecordedStart {
  uint64_t Tick = 0;
  std::string CommandLine;
};

class LoaderSandbox {
 public:
  LoaderSandbox();
  // Closes every loader it started that still runs.
  ~LoaderSandbox();

  const std::string& InstallFolder() const { return installFolder_; }

  // Starts the sandbox's Tonewatch.exe with the given argument text; the handle
  // stays owned by the sandbox.
  HANDLE StartLoader(const std::string& arguments);

  // Each stand-in then runs this long, as a load stepping its ramps, and
  // records its end in Ends().
  void HoldEachRun(DWORD ms);
  std::vector<RecordedStart> Ends() const;

  std::vector<RecordedStart> Starts() const;
  bool WaitForStarts(size_t count, DWORD timeoutMs = LoaderTimeoutMs) const;
  bool DecoyStarted() const;

 private:
  TempFolder temp_;
  std::string installFolder_;
  // False when the programs could not be copied in; every wait then fails at once.
  bool installed_ = false;
  std::vector<HANDLE> loaders_;
};

// Polls the condition until it holds (true) or the time-out passes (false).
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = LoaderTimeoutMs);

// The running loader's hidden window, waited for; nullptr after the time-out.
HWND WaitForLoaderWindow(DWORD timeoutMs = LoaderTimeoutMs);

// True when the process ended within the time-out; its exit code goes to exitCode.
bool WaitForExit(HANDLE process, DWORD& exitCode, DWORD timeoutMs = LoaderTimeoutMs);

bool IsRunning(HANDLE process);

// Tonewatch, the resident loader: starts Tonemark in load mode at once, once
// more after a delay, and after every resume from suspend; otherwise it waits,
// invisible, in its message loop.
#include <windows.h>
#include <mmsystem.h>

#include <atomic>

#include "loader/command_line.h"
#include "loader/windows/launch.h"
#include "loader/windows/loader_window.h"

namespace {
constexpr const char* SingleInstanceMutex = "Orvana.Tonewatch";

// Written by the main thread, read by the timer thread.
std::atomic<UINT> LoadTimer{0};

void CALLBACK LoadTimerProc(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {
  timeKillEvent(LoadTimer.load());
  LaunchLoadMode();
  TrimWorkingSet();
}

void RunMessageLoop() {
  MSG message;
  // -1 (an error) ends the loop as well, rather than spinning on it.
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void LoaderMain(HINSTANCE instance, int32_t loadDelayMs) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, SingleInstanceMutex);
  if (mutex == nullptr) return;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {  // another loader is running
    CloseHandle(mutex);
    return;
  }
  HWND window = CreateLoaderWindow(instance);
  RegisterPowerNotification(window);
  // A delay the multimedia timer refuses leaves only the immediate and resume launches.
  const UINT delay = static_cast<UINT>(loadDelayMs);
  LoadTimer.store(timeSetEvent(delay, delay, LoadTimerProc, 0, TIME_ONESHOT));
  RunMessageLoop();
  // WM_CLOSE's default processing has usually destroyed the window already.
  if (window != nullptr && IsWindow(window)) DestroyWindow(window);
  CloseHandle(mutex);
}
}  // namespace

int main(int argc, char** argv) {
  const TLoaderOptions options = ParseLoaderArguments(argc, argv);
  if (options.Uninstall) {
    CloseRunningLoader();
    return 0;
  }
  // Every start launches once, before the single-instance test.
  LaunchLoadMode();
  TrimWorkingSet();
  LoaderMain(GetModuleHandleA(nullptr), options.DelayMs);
  return 0;
}

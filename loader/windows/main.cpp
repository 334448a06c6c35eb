// Tonewatch, the resident loader: starts Tonemark in load mode at once, once
// more after a delay, after every resume from suspend, and a second after the
// display settings change or the session comes back to the user; otherwise it
// waits, invisible, in its message loop, looking at the ramps every few
// seconds (ramp_watch.h).
#include <windows.h>

#include "loader/command_line.h"
#include "loader/windows/launch.h"
#include "loader/windows/load_runs.h"
#include "loader/windows/load_timer.h"
#include "loader/windows/loader_window.h"
#include "loader/windows/pause.h"
#include "loader/windows/tray_icon.h"
#include "loader/windows/ramp_watch.h"

namespace {
constexpr const char* SingleInstanceMutex = "Orvana.Tonewatch";

// Messages, and the end of the load-mode run going on, if any.
void RunMessageLoop() {
  for (;;) {
    HANDLE run = RunningLoad();
    const DWORD woke = MsgWaitForMultipleObjects(run != nullptr ? 1 : 0, &run, FALSE, INFINITE, QS_ALLINPUT);
    if (woke == WAIT_FAILED) return;  // rather than spinning on it
    if (run != nullptr && woke == WAIT_OBJECT_0) {
      LoadRunEnded();
      continue;
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

void LoaderMain(HINSTANCE instance, int32_t loadDelayMs, int32_t watchSeconds) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, SingleInstanceMutex);
  if (mutex == nullptr) return;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {  // another loader is running
    CloseHandle(mutex);
    return;
  }
  HWND window = CreateLoaderWindow(instance);
  RegisterPowerNotification(window);
  RegisterSessionNotification(window);
  StartRampWatch(window, watchSeconds);
  OpenTrayIcon(window);
  WatchPauseEnd(window);
  // A delay the multimedia timer refuses leaves only the launches on events.
  StartLoadTimer(loadDelayMs, window);
  RunMessageLoop();
  // WM_CLOSE has done both already; a quit message from elsewhere has not.
  CancelLoadTimer();
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
  if (options.Status) return PrintWatchStatus();
  ChooseTray(options.Tray);
  ReadPause();
  // Every start launches once, before the single-instance test; while the
  // calibration is paused, that run keeps the linear ramp.
  RequestLoadRun(CalibrationPaused());
  LoaderMain(GetModuleHandleA(nullptr), options.DelayMs, options.WatchSeconds);
  return 0;
}

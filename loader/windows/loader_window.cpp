#include "loader/windows/loader_window.h"

#include <wtsapi32.h>

#include "loader/windows/launch.h"
#include "loader/windows/load_runs.h"
#include "loader/windows/load_timer.h"
#include "loader/windows/pause.h"
#include "loader/windows/tray_icon.h"
#include "loader/windows/ramp_watch.h"

namespace {
constexpr const char* LoaderWindowTitle = "Tonewatch";
constexpr int LoaderWindowSize = 100;

// GUID_IDLE_BACKGROUND_TASK, spelt out because older headers lack it.
constexpr GUID IdleBackgroundTask = {
    0x515C31D8, 0xF734, 0x163D, {0xA0, 0xFD, 0x11, 0xA0, 0x8C, 0x91, 0xE8, 0xF1}};

// Display changes and the session's return come in bursts (a dock bringing
// three monitors, the shell resetting ramps after unlock): one launch this
// long after the last of them.
constexpr UINT SettleDelayMs = 1000;
constexpr UINT_PTR SettleTimer = 1;

// How long "/uninstall" waits for a loader to end, and for how many.
constexpr DWORD LoaderEndWaitMs = 10000;
constexpr int MostRunningLoaders = 16;

bool SessionCameBack(WPARAM change) { return change == WTS_SESSION_UNLOCK || change == WTS_CONSOLE_CONNECT; }

// RegisterPowerSettingNotification exists from Vista on; it is looked up at run
// time so that the loader still starts where it is missing.
using RegisterPowerSettingNotificationProc = HANDLE(WINAPI*)(HANDLE, LPCGUID, DWORD);
}  // namespace

LRESULT CALLBACK LoaderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HandleTrayMessage(window, message, wParam, lParam)) return 0;
  switch (message) {
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMESUSPEND || wParam == PBT_APMRESUMECRITICAL) RequestLoadRun();
      break;
    case WM_DISPLAYCHANGE:
      SetTimer(window, SettleTimer, SettleDelayMs, nullptr);  // a timer set again starts over
      break;
    case WM_WTSSESSION_CHANGE:
      if (SessionCameBack(wParam)) SetTimer(window, SettleTimer, SettleDelayMs, nullptr);
      break;
    case WM_TIMER:
      if (wParam == PauseTimer) HandlePauseTimer(window);
      // A pause holds the watch back; the icon's tooltip follows both.
      if (wParam != WatchTimer || !CalibrationPaused()) HandleWatchTimer(window, wParam);
      UpdateTrayIcon(window);
      if (wParam == SettleTimer) {
        KillTimer(window, SettleTimer);
        RequestLoadRun();
      }
      break;
    case TimedLoadMessage:
      RequestLoadRun();
      break;
    case WM_CLOSE:
      CancelLoadTimer();
      PostQuitMessage(0);
      break;
    case WM_DESTROY:
      KillTimer(window, SettleTimer);
      StopRampWatch(window);
      RemoveTrayIcon(window);
      WTSUnRegisterSessionNotification(window);
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateLoaderWindow(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = LoaderWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = LoaderWindowClass;
  RegisterClassExA(&windowClass);

  HWND window = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, LoaderWindowClass,
                                LoaderWindowTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                                LoaderWindowSize, LoaderWindowSize, nullptr, nullptr, instance,
                                nullptr);
  if (window != nullptr) {
    ShowWindow(window, SW_HIDE);
    UpdateWindow(window);
  }
  return window;
}

void RegisterPowerNotification(HWND window) {
  HMODULE user32 = LoadLibraryA("User32.dll");
  if (user32 == nullptr) return;
  auto registerNotification = reinterpret_cast<RegisterPowerSettingNotificationProc>(
      reinterpret_cast<void*>(GetProcAddress(user32, "RegisterPowerSettingNotification")));
  // The registration lives as long as the window; it is never unregistered.
  if (registerNotification != nullptr)
    registerNotification(window, &IdleBackgroundTask, DEVICE_NOTIFY_WINDOW_HANDLE);
  FreeLibrary(user32);
}

void RegisterSessionNotification(HWND window) {
  if (window != nullptr) WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION);
}

void CloseRunningLoader() {
  // Each loader found is asked to close and waited for, so that its file is
  // free once this returns (an installer replaces it next). One that does not
  // end in time is left running, and not asked again.
  for (int found = 0; found < MostRunningLoaders; ++found) {
    HWND running = FindWindowA(LoaderWindowClass, nullptr);
    if (running == nullptr) return;
    DWORD processId = 0;
    GetWindowThreadProcessId(running, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageA(running, WM_CLOSE, 0, 0);
    if (process == nullptr) return;
    const bool ended = WaitForSingleObject(process, LoaderEndWaitMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    if (!ended) return;
  }
}

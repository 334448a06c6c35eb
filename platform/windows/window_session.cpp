#include "platform/windows/window_session.h"

#include "platform/windows/win32.h"
#include <commctrl.h>
#include <shellscalingapi.h>

#include "platform/windows/background_window.h"
#include "platform/windows/main_window_view.h"
#include "ramp/displays_port.h"
#include "ramp/records.h"

void DeclarePerMonitorDpiAwareness() {
  // Looked up at run time: neither call exists on every Windows the program runs on.
  using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  const auto setContext = reinterpret_cast<SetContext>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext")));
  if (setContext && setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
  // Refused as already set, by the manifest: nothing more to do.
  if (setContext && GetLastError() == ERROR_ACCESS_DENIED) return;
  using SetAwareness = HRESULT(WINAPI*)(PROCESS_DPI_AWARENESS);
  if (const HMODULE shcore = LoadLibraryA("shcore.dll"))
    if (const auto setAwareness = reinterpret_cast<SetAwareness>(
            reinterpret_cast<void*>(GetProcAddress(shcore, "SetProcessDpiAwareness"))))
      setAwareness(PROCESS_PER_MONITOR_DPI_AWARE);
}

void RunWindowSession(ImageDecoder* decoder) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  TMainWindowView view;
  const int32_t systemDpi = DisplayCount > 0 ? DisplaysPort().MonitorDpi(Displays[0].Monitor) : DesignDpi;
  TMainForm form(view, view, decoder, systemDpi);
  view.Attach(form);
  form.FormCreate();
  view.Sync();
  std::vector<TRect> monitors;
  for (int32_t i = 0; i < DisplayCount; ++i) monitors.push_back(Displays[i].MonitorInfo.Monitor);
  TBackgroundWindow background(DisplayCount, monitors, [&view] {
    view.BringToFront();
    view.Sync();
  });
  form.Background = &background;
  MSG message;
  while (!view.Closed() && GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (view.PreviewMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  form.Background = nullptr;
}

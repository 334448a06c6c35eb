// Normal mode in the Win32 window: the calibration window over the first
// display, then the background window behind it, and the message loop until
// the calibration window has closed.
#include "platform/native_session.h"

#include "platform/windows/win32.h"
#include <commctrl.h>

#include "platform/windows/background_window.h"
#include "platform/windows/main_window_view.h"
#include "ramp/displays_port.h"
#include "ramp/records.h"

void RunNativeSession(TImageDecoder* decoder) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  TMainWindowView view;
  const int32_t systemDpi = DisplayCount > 0 ? DisplaysPort().MonitorDpi(Displays[0].Monitor) : DesignDpi;
  TMainForm form(view, view, decoder, systemDpi);
  view.Attach(form);
  form.FormCreate();
  form.FollowDisplayDpi();
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

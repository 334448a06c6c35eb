// Normal mode's window on Linux: the Qt calibration window and the background
// window, until the calibration window closes.
#include "platform/native_session.h"

#include <QApplication>
#include <stdexcept>

#include "platform/linux/x11_color_management.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/raise_requests.h"
#include "platform/qt/start_preparation.h"
#include "ramp/displays_port.h"

void RunNativeSession(TImageDecoder* decoder) {
  if (!WindowSystemReachable())
    throw std::runtime_error(WaylandSession()
                                 ? "The calibration window needs the Wayland display; it cannot be reached."
                                 : "The calibration window needs an X display; none can be opened.");
  StartWindowPreparation();
  QtApplication();
  TX11ColorManagement colorManagement;
  DisplayColorManagement = &colorManagement;
  const int32_t dpi = DisplayCount > 0 ? DisplaysPort().MonitorDpi(Displays[0].Monitor) : DesignDpi;
  {
    TQtMainWindow window(decoder, dpi);
    window.Start();
    TRaiseRequests raiseRequests(window);
    if (!window.Closed()) QApplication::exec();
  }
  DisplayColorManagement = nullptr;
}

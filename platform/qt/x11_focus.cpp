#include "platform/qt/x11_focus.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

void TakeInputFocus(QWidget& window) {
  QWindow* handle = window.windowHandle();
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  if (handle == nullptr || !handle->isExposed() || x11 == nullptr) return;
  // The current time, not the last event's: a focus change made since, by
  // another client, would make the server ignore an older one.
  xcb_set_input_focus(x11->connection(), XCB_INPUT_FOCUS_PARENT, static_cast<xcb_window_t>(window.winId()),
                      XCB_CURRENT_TIME);
  xcb_flush(x11->connection());
}

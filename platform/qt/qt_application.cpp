#include "platform/qt/qt_application.h"

#include <QApplication>

#include "tonemark_version.h"

// Xlib's macros (None, Bool, Status) clash with Qt's names: it comes last.
#include <X11/Xlib.h>

namespace {

void PrepareEnvironment() {
  qputenv("QT_QPA_PLATFORM", "xcb");  // RandR and the window's X hints need X11
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  for (const char* scaling : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR"})
    qunsetenv(scaling);
}

}  // namespace

QApplication& QtApplication() {
  static int argc = 1;
  static char name[] = TONEMARK_PROGRAM;
  static char* argv[] = {name, nullptr};
  // It lives until the process ends: Qt's own statics outlive it then.
  static QApplication* application = nullptr;
  if (application == nullptr) {
    PrepareEnvironment();
    application = new QApplication(argc, argv);
  }
  return *application;
}

bool XDisplayReachable() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  XCloseDisplay(display);
  return true;
}

#include "platform/qt/qt_application.h"

#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/qt/output_scales.h"

#include "tonemark_version.h"

#include <xcb/xcb.h>

namespace {

void PrepareEnvironment() {
  qputenv("QT_QPA_PLATFORM", WaylandSession() ? "wayland" : "xcb");
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  for (const char* scaling : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR"})
    qunsetenv(scaling);
  // Qt's Wayland platform draws at each output's buffer scale regardless; a
  // screen factor of 1 / scale takes it back out.
  const std::string factors = WaylandSession() ? ScreenScaleFactors(StartOutputScales()) : "";
  if (!factors.empty()) qputenv("QT_SCREEN_SCALE_FACTORS", factors.c_str());
}

// The connection's set-up, authorisation included, is all that Qt needs to
// find in place: one round trip, where Xlib's would add several of its own.
bool XDisplayReachable() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool reachable = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return reachable;
}

// The compositor's socket as libwayland-client finds it: WAYLAND_DISPLAY, a
// name in XDG_RUNTIME_DIR or an absolute path.
bool WaylandDisplayReachable() {
  const std::string name = std::getenv("WAYLAND_DISPLAY");
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (name.front() != '/' && runtime == nullptr) return false;
  const std::string path = name.front() == '/' ? name : std::string(runtime) + "/" + name;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket < 0) return false;
  const bool connected = connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(socket);
  return connected;
}

}  // namespace

bool WaylandSession() {
  const char* display = std::getenv("WAYLAND_DISPLAY");
  const char* backend = std::getenv("TONEMARK_BACKEND");
  return display != nullptr && *display != '\0' && (backend == nullptr || std::strcmp(backend, "x11") != 0);
}

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

bool WindowSystemReachable() { return WaylandSession() ? WaylandDisplayReachable() : XDisplayReachable(); }

bool OnWayland() { return QGuiApplication::platformName() == "wayland"; }

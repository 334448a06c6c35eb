#include "tests/platform/qt/gamma_refusing_proxy.h"

#include <X11/Xlib.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

constexpr uint8_t SetCrtcGammaMinor = 24;
constexpr size_t SetupHeaderBytes = 12;
constexpr size_t RequestHeaderBytes = 4, BigRequestHeaderBytes = 8;
constexpr size_t GammaSizeOffset = 8;  // after the request header and the CRTC

uint32_t Little(const std::vector<uint8_t>& bytes, size_t at, size_t count) {
  uint32_t value = 0;
  for (size_t i = 0; i < count; ++i) value |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
  return value;
}

size_t Padded(size_t bytes) { return (bytes + 3) / 4 * 4; }

constexpr const char* LocalSocketPrefix = "/tmp/.X11-unix/X";
// Far above the displays that X servers pick for themselves, counting from 0.
constexpr int FirstProxyDisplay = 1000, LastProxyDisplay = 1999;

sockaddr_un UnixAddress(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  return address;
}

// Xlib tries a local display's socket in the abstract namespace first, where
// a proxy leaves no file behind.
sockaddr_un AbstractAddress(int display) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string name = LocalSocketPrefix + std::to_string(display);
  std::memcpy(address.sun_path + 1, name.data(), name.size());
  return address;
}

socklen_t AbstractLength(int display) {
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 +
                                std::strlen(LocalSocketPrefix) + std::to_string(display).size());
}

// The socket of $DISPLAY (":N" or ":N.S") on this machine.
int ConnectToServer() {
  const std::string display = std::getenv("DISPLAY");
  const std::string number = display.substr(1, display.find('.') - 1);
  const sockaddr_un address = UnixAddress(LocalSocketPrefix + number);
  const int server = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
    throw std::runtime_error("cannot reach the X server of " + display);
  return server;
}

bool WriteAll(int to, const uint8_t* bytes, size_t count) {
  while (count > 0) {
    const ssize_t n = write(to, bytes, count);
    if (n <= 0) return false;
    bytes += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

TGammaRefusingProxy::TGammaRefusingProxy(Display* server) {
  int event = 0, error = 0;
  if (!XQueryExtension(server, "RANDR", &randrOpcode_, &event, &error))
    throw std::runtime_error("the X server has no RandR");
  listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  for (int display = FirstProxyDisplay; display <= LastProxyDisplay && name_.empty(); ++display) {
    const sockaddr_un address = AbstractAddress(display);
    if (bind(listener_, reinterpret_cast<const sockaddr*>(&address), AbstractLength(display)) == 0)
      name_ = ":" + std::to_string(display);
  }
  if (name_.empty() || listen(listener_, 1) != 0 || pipe(stop_) != 0)
    throw std::runtime_error("the proxy cannot listen");
  thread_ = std::thread([this] { Serve(); });
}

TGammaRefusingProxy::~TGammaRefusingProxy() {
  write(stop_[1], "", 1);
  thread_.join();
  for (int fd : {listener_, stop_[0], stop_[1]}) close(fd);
}

void TGammaRefusingProxy::Serve() {
  pollfd waiting[2] = {{listener_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
  if (poll(waiting, 2, -1) <= 0 || (waiting[1].revents & POLLIN)) return;
  const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
  const int server = ConnectToServer();
  std::vector<uint8_t> pending;  // the client's bytes up to a whole request
  bool setUp = false;
  uint8_t buffer[65536];
  for (;;) {
    pollfd ends[3] = {{client, POLLIN, 0}, {server, POLLIN, 0}, {stop_[0], POLLIN, 0}};
    if (poll(ends, 3, -1) <= 0 || ends[2].revents != 0) break;
    if (ends[1].revents != 0) {
      const ssize_t n = read(server, buffer, sizeof buffer);
      if (n <= 0 || !WriteAll(client, buffer, static_cast<size_t>(n))) break;
    }
    if (ends[0].revents == 0) continue;
    const ssize_t n = read(client, buffer, sizeof buffer);
    if (n <= 0) break;
    pending.insert(pending.end(), buffer, buffer + n);
    // Xlib on this machine speaks little-endian ('l').
    for (;;) {
      size_t whole = 0, header = RequestHeaderBytes;
      if (!setUp && pending.size() >= SetupHeaderBytes)
        whole = SetupHeaderBytes + Padded(Little(pending, 6, 2)) + Padded(Little(pending, 8, 2));
      else if (setUp && pending.size() >= RequestHeaderBytes)
        whole = 4 * static_cast<size_t>(Little(pending, 2, 2));
      if (setUp && whole == 0 && pending.size() >= BigRequestHeaderBytes) {
        whole = 4 * static_cast<size_t>(Little(pending, 4, 4));
        header = BigRequestHeaderBytes;
      }
      if (whole == 0 || pending.size() < whole) break;
      if (setUp && pending[0] == randrOpcode_ && pending[1] == SetCrtcGammaMinor) {
        const size_t at = header - RequestHeaderBytes + GammaSizeOffset;
        const uint16_t shrunk = static_cast<uint16_t>(Little(pending, at, 2) - 1);
        pending[at] = static_cast<uint8_t>(shrunk & 0xFF);
        pending[at + 1] = static_cast<uint8_t>(shrunk >> 8);
      }
      if (!WriteAll(server, pending.data(), whole)) {
        close(client);
        close(server);
        return;
      }
      pending.erase(pending.begin(), pending.begin() + static_cast<ptrdiff_t>(whole));
      setUp = true;
    }
  }
  close(client);
  close(server);
}

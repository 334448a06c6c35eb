// mutter_keys: a virtual keyboard in Mutter's seat, through a RemoteDesktop
// session on the session bus, for as long as standard input stays open.
// Each line of it presses (STATE 1) and releases (0) keys, given as X
// keysyms: "0xffe3:1 0xff09:1 0xff09:0 0xffe3:0". The keyboard is there
// before the first line, as a desktop's is: a seat gains its keyboard only
// with the session, and a client that binds it then would miss the first
// keys. Exits 1 with the reason when Mutter refuses.
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

namespace {

constexpr char RemoteDesktopName[] = "org.gnome.Mutter.RemoteDesktop";
constexpr char RemoteDesktopPath[] = "/org/gnome/Mutter/RemoteDesktop";
constexpr char SessionInterface[] = "org.gnome.Mutter.RemoteDesktop.Session";
// Sent without a pause, Ctrl+Tab does not reach the window as Ctrl+Tab;
// at a typist's pace it does.
constexpr useconds_t KeyPauseUs = 50000;

int Fail(const std::string& why, const sd_bus_error* error = nullptr) {
  std::fprintf(stderr, "mutter_keys: %s%s%s\n", why.c_str(), error != nullptr && error->message ? ": " : "",
               error != nullptr && error->message ? error->message : "");
  return 1;
}

}  // namespace

int main() {
  sd_bus* bus = nullptr;
  if (sd_bus_open_user(&bus) < 0) return Fail("no session bus");
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  const char* path = nullptr;
  if (sd_bus_call_method(bus, RemoteDesktopName, RemoteDesktopPath, RemoteDesktopName, "CreateSession", &error, &reply,
                         "") < 0 ||
      sd_bus_message_read(reply, "o", &path) <= 0)
    return Fail("CreateSession", &error);
  const std::string session = path;
  sd_bus_message_unref(reply);
  if (sd_bus_call_method(bus, RemoteDesktopName, session.c_str(), SessionInterface, "Start", &error, nullptr, "") < 0)
    return Fail("Start", &error);
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream keys(line);
    std::string key;
    while (keys >> key) {
      const uint32_t keysym = static_cast<uint32_t>(std::stoul(key.substr(0, key.find(':')), nullptr, 0));
      const int pressed = key.substr(key.find(':') + 1) == "1";
      if (sd_bus_call_method(bus, RemoteDesktopName, session.c_str(), SessionInterface, "NotifyKeyboardKeysym",
                             &error, nullptr, "ub", keysym, pressed) < 0)
        return Fail("NotifyKeyboardKeysym " + key, &error);
      usleep(KeyPauseUs);
    }
  }
  sd_bus_call_method(bus, RemoteDesktopName, session.c_str(), SessionInterface, "Stop", nullptr, nullptr, "");
  sd_bus_flush_close_unref(bus);
  return 0;
}

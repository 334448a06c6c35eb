// notification_stand_in FILE: owns org.freedesktop.Notifications on the
// session bus of DBUS_SESSION_BUS_ADDRESS, as a desktop's notification
// service does, and appends one line per notification to FILE: the summary,
// " | ", the body as sent (markup and all) with its line breaks as " / ". It
// says it reads markup in the body, as the common servers do. Creates FILE.ready once the
// name is owned; runs until it is ended.
#include <systemd/sd-bus.h>

#include <fstream>
#include <iostream>
#include <string>

namespace {

std::string Output;
uint32_t LastId = 0;

int Notify(sd_bus_message* message, void*, sd_bus_error*) {
  const char *app = nullptr, *icon = nullptr, *summary = nullptr, *body = nullptr;
  uint32_t replaces = 0;
  if (sd_bus_message_read(message, "susss", &app, &replaces, &icon, &summary, &body) < 0) return -1;
  std::string line = std::string(summary) + " | " + body;
  for (size_t at; (at = line.find('\n')) != std::string::npos;) line.replace(at, 1, " / ");
  std::ofstream(Output, std::ios::app) << line << '\n';
  return sd_bus_reply_method_return(message, "u", ++LastId);
}

// Like the common servers, it reads markup in the body.
int GetCapabilities(sd_bus_message* message, void*, sd_bus_error*) {
  return sd_bus_reply_method_return(message, "as", 2, "body", "body-markup");
}

const sd_bus_vtable NotificationsTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("GetCapabilities", "", "as", GetCapabilities, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Notify", "susssasa{sv}i", "u", Notify, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_VTABLE_END};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: notification_stand_in FILE\n";
    return 2;
  }
  Output = argv[1];
  sd_bus* bus = nullptr;
  if (sd_bus_open_user(&bus) < 0 ||
      sd_bus_add_object_vtable(bus, nullptr, "/org/freedesktop/Notifications",
                               "org.freedesktop.Notifications", NotificationsTable, nullptr) < 0 ||
      sd_bus_request_name(bus, "org.freedesktop.Notifications", 0) < 0) {
    std::cerr << "notification_stand_in: cannot serve on the session bus\n";
    return 1;
  }
  std::ofstream(Output + ".ready");
  for (;;) {
    const int processed = sd_bus_process(bus, nullptr);
    if (processed < 0) return 1;
    if (processed == 0 && sd_bus_wait(bus, UINT64_MAX) < 0) return 1;
  }
}

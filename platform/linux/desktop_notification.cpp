#include "platform/linux/desktop_notification.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/wayland/sd_bus_library.h"

namespace {

constexpr const char* Service = "org.freedesktop.Notifications";
constexpr const char* ObjectPath = "/org/freedesktop/Notifications";
constexpr const char* AppName = "Tonemark";
constexpr uint64_t CallTimeoutUs = 5'000'000;
constexpr int32_t ServerDefaultExpiry = -1;
constexpr const char* MarkupCapability = "body-markup";

// A server that reads markup in the body would take a folder named "R&D" or
// "<old>" for markup, and show it mangled or not at all.
bool ServerReadsMarkup(const TSdBusLibrary& sd, sd_bus* bus) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  char** capabilities = nullptr;
  if (sd.CallMethod(bus, Service, ObjectPath, Service, "GetCapabilities", &error, &reply, "") >= 0)
    sd.ReadStrv(reply, &capabilities);
  bool markup = false;
  for (char** entry = capabilities; entry != nullptr && *entry != nullptr; ++entry) {
    markup = markup || std::strcmp(*entry, MarkupCapability) == 0;
    std::free(*entry);
  }
  std::free(capabilities);
  sd.MessageUnref(reply);
  sd.ErrorFree(&error);
  return markup;
}

std::string EscapedMarkup(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '&') escaped += "&amp;";
    else if (c == '<') escaped += "&lt;";
    else if (c == '>') escaped += "&gt;";
    else escaped += c;
  }
  return escaped;
}

}  // namespace

bool NotifyDesktop(const std::string& summary, const std::string& body) {
  const TSdBusLibrary* library = SdBusLibrary();
  if (library == nullptr) return false;
  const TSdBusLibrary& sd = *library;
  bool shown = false;
  sd_bus* bus = nullptr;
  if (sd.OpenUser(&bus) >= 0) {
    sd.SetTimeout(bus, CallTimeoutUs);
    const std::string shownBody = ServerReadsMarkup(sd, bus) ? EscapedMarkup(body) : body;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    // Notify(app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout)
    shown = sd.CallMethod(bus, Service, ObjectPath, Service, "Notify", &error, &reply, "susssasa{sv}i",
                          AppName, 0u, "", summary.c_str(), shownBody.c_str(), 0, 0, ServerDefaultExpiry) >= 0;
    sd.MessageUnref(reply);
    sd.ErrorFree(&error);
    sd.FlushCloseUnref(bus);
  }
  return shown;
}

#include "loader/linux/desktop_news.h"

#include <stdint.h>
#include <systemd/sd-bus.h>

namespace {

constexpr uint64_t CallTimeoutUs = 2000000;
constexpr char AppName[] = "Tonewatch";
constexpr int32_t ServerDefaultExpiry = -1;

struct TFlag {
  const char* Service;
  const char* Path;
  const char* Interface;
  const char* Property;
};

constexpr TFlag NightLights[] = {
    {"org.gnome.SettingsDaemon.Color", "/org/gnome/SettingsDaemon/Color", "org.gnome.SettingsDaemon.Color",
     "NightLightActive"},
    {"org.kde.KWin.NightLight", "/org/kde/KWin/NightLight", "org.kde.KWin.NightLight", "running"},  // Plasma 6
    {"org.kde.KWin", "/ColorCorrect", "org.kde.kwin.ColorCorrect", "running"},                      // Plasma 5
};

sd_bus* OpenSessionBus() {
  sd_bus* bus = nullptr;
  if (sd_bus_open_user(&bus) < 0) return nullptr;
  sd_bus_set_method_call_timeout(bus, CallTimeoutUs);
  return bus;
}

}  // namespace

bool DesktopNightLightOn() {
  sd_bus* bus = OpenSessionBus();
  if (bus == nullptr) return false;
  bool on = false;
  for (const TFlag& flag : NightLights) {
    int value = 0;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    if (sd_bus_get_property_trivial(bus, flag.Service, flag.Path, flag.Interface, flag.Property, &error, 'b',
                                    &value) >= 0 && value) {
      on = true;
    }
    sd_bus_error_free(&error);
    if (on) break;
  }
  sd_bus_flush_close_unref(bus);
  return on;
}

bool NotifyDesktop(const char* summary, const char* body) {
  sd_bus* bus = OpenSessionBus();
  if (bus == nullptr) return false;
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  // Notify(app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout)
  const bool shown = sd_bus_call_method(bus, "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                        "org.freedesktop.Notifications", "Notify", &error, &reply, "susssasa{sv}i",
                                        AppName, 0u, "", summary, body, 0, 0, ServerDefaultExpiry) >= 0;
  sd_bus_message_unref(reply);
  sd_bus_error_free(&error);
  sd_bus_flush_close_unref(bus);
  return shown;
}

#include "loader/linux/tray.h"

#include <stdio.h>
#include <string.h>
#include <systemd/sd-bus.h>
#include <time.h>
#include <unistd.h>

#include "loader/linux/clock.h"
#include "loader/linux/dbus_menu.h"
#include "loader/linux/settings_file.h"
#include "loader/tray_icon_pixels.h"
#include "loader/tray_settings.h"

namespace {

constexpr char ItemPath[] = "/StatusNotifierItem";
constexpr char ItemInterface[] = "org.kde.StatusNotifierItem";
constexpr char WatcherName[] = "org.kde.StatusNotifierWatcher";
constexpr char WatcherPath[] = "/StatusNotifierWatcher";
constexpr char BusName[] = "org.freedesktop.DBus";
constexpr char BusPath[] = "/org/freedesktop/DBus";
constexpr size_t ItemNameSize = 64;
constexpr int64_t SecondsPerMinute = 60;
constexpr uint64_t MillisecondsPerSecond = 1000;
constexpr int LargestIconSize = 64;

struct TTray {
  TTrayChoice Choice = TrayAsSettingsSay;
  sd_bus* Bus = nullptr;
  char ItemName[ItemNameSize] = {};
  bool NameOwned = false;
  bool WatcherPresent = false;
  TTrayLanguage Language = TrayEnglish;
  TTrayMenu Menu = {};
  TDbusMenu BusMenu;
  char Tooltip[TrayTooltipSize] = {};
  // What the menu was last built from.
  TWatchStatus Shown = {};
  int64_t ShownPausedUntil = -1;
  int64_t ShownMinute = -1;
};

TTray Tray;

void Register() {
  if (!Tray.NameOwned || !Tray.WatcherPresent) return;
  sd_bus_call_method_async(Tray.Bus, nullptr, WatcherName, WatcherPath, WatcherName, "RegisterStatusNotifierItem",
                           nullptr, nullptr, "s", Tray.ItemName);
}

int NameAcquired(sd_bus_message* reply, void*, sd_bus_error*) {
  Tray.NameOwned = !sd_bus_message_is_method_error(reply, nullptr);
  Register();
  return 0;
}

int WatcherOwner(sd_bus_message* reply, void*, sd_bus_error*) {
  Tray.WatcherPresent = !sd_bus_message_is_method_error(reply, nullptr);
  Register();
  return 0;
}

int WatcherChanged(sd_bus_message* message, void*, sd_bus_error*) {
  const char *name = nullptr, *before = nullptr, *after = nullptr;
  if (sd_bus_message_read(message, "sss", &name, &before, &after) < 0 || strcmp(name, WatcherName) != 0) return 0;
  Tray.WatcherPresent = after[0] != '\0';
  Register();  // a new host knows nothing of the item yet
  return 0;
}

// a(iiay): every size, ARGB32 in network byte order.
int AppendPixmaps(sd_bus_message* reply) {
  int r = sd_bus_message_open_container(reply, 'a', "(iiay)");
  for (int i = 0; r >= 0 && i < TrayIconCount; ++i) {
    const TTrayIconPixels& icon = TrayIcons[i];
    uint8_t bytes[LargestIconSize * LargestIconSize * 4];
    const int count = icon.Size * icon.Size;
    for (int p = 0; p < count; ++p) {
      const uint32_t argb = icon.Argb[p];
      bytes[p * 4] = static_cast<uint8_t>(argb >> 24);
      bytes[p * 4 + 1] = static_cast<uint8_t>(argb >> 16);
      bytes[p * 4 + 2] = static_cast<uint8_t>(argb >> 8);
      bytes[p * 4 + 3] = static_cast<uint8_t>(argb);
    }
    r = sd_bus_message_open_container(reply, 'r', "iiay");
    if (r >= 0) r = sd_bus_message_append(reply, "ii", icon.Size, icon.Size);
    if (r >= 0) r = sd_bus_message_append_array(reply, 'y', bytes, static_cast<size_t>(count) * 4);
    if (r >= 0) r = sd_bus_message_close_container(reply);
  }
  if (r >= 0) r = sd_bus_message_close_container(reply);
  return r;
}

int TextProperty(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply, void*,
                 sd_bus_error*) {
  const char* value = "";
  if (strcmp(property, "Category") == 0) value = "Hardware";
  else if (strcmp(property, "Id") == 0) value = "tonewatch";
  else if (strcmp(property, "Title") == 0) value = "Tonewatch";
  else if (strcmp(property, "Status") == 0) value = "Active";
  return sd_bus_message_append(reply, "s", value);
}

int IconPixmapProperty(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  return AppendPixmaps(reply);
}

int NoPixmapProperty(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  return sd_bus_message_append(reply, "a(iiay)", 0);
}

int ToolTipProperty(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  int r = sd_bus_message_open_container(reply, 'r', "sa(iiay)ss");
  if (r >= 0) r = sd_bus_message_append(reply, "s", "");
  if (r >= 0) r = sd_bus_message_append(reply, "a(iiay)", 0);
  if (r >= 0) r = sd_bus_message_append(reply, "ss", Tray.Tooltip, "");
  if (r >= 0) r = sd_bus_message_close_container(reply);
  return r;
}

int WindowIdProperty(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  return sd_bus_message_append(reply, "i", 0);
}

int ItemIsMenuProperty(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  return sd_bus_message_append(reply, "b", 1);
}

int MenuProperty(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  return sd_bus_message_append(reply, "o", DbusMenuPath);
}

// The item is a menu: hosts show it on a click. Activation asks for nothing more.
int Ignore(sd_bus_message* call, void*, sd_bus_error*) { return sd_bus_reply_method_return(call, ""); }

const sd_bus_vtable ItemTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Category", "s", TextProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Id", "s", TextProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Title", "s", TextProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Status", "s", TextProperty, 0, 0),
    SD_BUS_PROPERTY("WindowId", "i", WindowIdProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("IconName", "s", TextProperty, 0, 0),
    SD_BUS_PROPERTY("IconPixmap", "a(iiay)", IconPixmapProperty, 0, 0),
    SD_BUS_PROPERTY("OverlayIconName", "s", TextProperty, 0, 0),
    SD_BUS_PROPERTY("OverlayIconPixmap", "a(iiay)", NoPixmapProperty, 0, 0),
    SD_BUS_PROPERTY("AttentionIconName", "s", TextProperty, 0, 0),
    SD_BUS_PROPERTY("AttentionIconPixmap", "a(iiay)", NoPixmapProperty, 0, 0),
    SD_BUS_PROPERTY("AttentionMovieName", "s", TextProperty, 0, 0),
    SD_BUS_PROPERTY("IconThemePath", "s", TextProperty, 0, 0),
    SD_BUS_PROPERTY("ToolTip", "(sa(iiay)ss)", ToolTipProperty, 0, 0),
    SD_BUS_PROPERTY("ItemIsMenu", "b", ItemIsMenuProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Menu", "o", MenuProperty, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_METHOD("ContextMenu", "ii", "", Ignore, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Activate", "ii", "", Ignore, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("SecondaryActivate", "ii", "", Ignore, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Scroll", "is", "", Ignore, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("NewTitle", "", 0),
    SD_BUS_SIGNAL("NewIcon", "", 0),
    SD_BUS_SIGNAL("NewAttentionIcon", "", 0),
    SD_BUS_SIGNAL("NewOverlayIcon", "", 0),
    SD_BUS_SIGNAL("NewToolTip", "", 0),
    SD_BUS_SIGNAL("NewStatus", "s", 0),
    SD_BUS_VTABLE_END};

bool Connect() {
  if (sd_bus_open_user(&Tray.Bus) < 0) return false;
  snprintf(Tray.ItemName, sizeof Tray.ItemName, "org.kde.StatusNotifierItem-%d-1", static_cast<int>(getpid()));
  Tray.BusMenu.Menu = &Tray.Menu;
  char rule[256];
  snprintf(rule, sizeof rule, "type='signal',sender='%s',path='%s',member='NameOwnerChanged',arg0='%s'", BusName,
           BusPath, WatcherName);
  // Everything asynchronous: a slow bus never holds up the loader.
  return sd_bus_add_object_vtable(Tray.Bus, nullptr, ItemPath, ItemInterface, ItemTable, nullptr) >= 0 &&
         ExportDbusMenu(Tray.Bus, Tray.BusMenu) &&
         sd_bus_add_match_async(Tray.Bus, nullptr, rule, WatcherChanged, nullptr, nullptr) >= 0 &&
         sd_bus_request_name_async(Tray.Bus, nullptr, Tray.ItemName, 0, NameAcquired, nullptr) >= 0 &&
         sd_bus_call_method_async(Tray.Bus, nullptr, BusName, BusPath, BusName, "GetNameOwner", WatcherOwner,
                                  nullptr, "s", WatcherName) >= 0;
}

uint64_t BusDeadline() {
  uint64_t untilUs;  // absolute, on the monotonic clock; UINT64_MAX for none
  if (sd_bus_get_timeout(Tray.Bus, &untilUs) < 0 || untilUs == UINT64_MAX) return NoDeadline;
  return (untilUs + 999) / 1000;
}

// While a timed pause lasts, the tooltip counts its minutes down.
uint64_t NextMinute(uint64_t now) {
  if (Tray.ShownPausedUntil <= 0 || Tray.ShownPausedUntil == PausedForever) return NoDeadline;
  const int64_t left = Tray.ShownPausedUntil - static_cast<int64_t>(time(nullptr));
  if (left <= 0) return NoDeadline;
  const int64_t toNextMinute = left % SecondsPerMinute == 0 ? SecondsPerMinute : left % SecondsPerMinute;
  return now + static_cast<uint64_t>(toNextMinute) * MillisecondsPerSecond;
}

}  // namespace

void ChooseTray(TTrayChoice choice) { Tray.Choice = choice; }

void OpenTray() {
  const TTraySettings settings = ReadTraySettingsFile();
  Tray.Language = settings.Language;
  if (Tray.Choice == TrayHidden || (Tray.Choice == TrayAsSettingsSay && !settings.Tray)) return;
  if (!Connect()) CloseTray();
}

bool TrayIsOpen() { return Tray.Bus != nullptr; }

void AddTrayToPoll(pollfd& slot, int& timeoutMs, uint64_t now) {
  slot = {-1, 0, 0};
  if (Tray.Bus == nullptr) return;
  const int descriptor = sd_bus_get_fd(Tray.Bus);
  const int events = sd_bus_get_events(Tray.Bus);
  if (descriptor < 0 || events < 0) return;
  slot = {descriptor, static_cast<short>(events), 0};
  WaitNoLaterThan(BusDeadline(), now, timeoutMs);
  WaitNoLaterThan(NextMinute(now), now, timeoutMs);
}

uint32_t ProcessTray(const pollfd& slot, uint64_t now) {
  if (Tray.Bus == nullptr || (slot.revents == 0 && BusDeadline() > now)) return 0;
  int r;
  while ((r = sd_bus_process(Tray.Bus, nullptr)) > 0) {
  }
  const uint32_t chosen = Tray.BusMenu.Chosen;
  Tray.BusMenu.Chosen = 0;
  if (r < 0) CloseTray();  // the session bus has gone, and the desktop with it
  return chosen;
}

void UpdateTray(const TWatchStatus& status, int64_t pausedUntil) {
  if (Tray.Bus == nullptr) return;
  const int64_t now = static_cast<int64_t>(time(nullptr));
  const int64_t minute = pausedUntil > 0 && pausedUntil != PausedForever ? (pausedUntil - now) / SecondsPerMinute : 0;
  const bool sameStatus = memcmp(&status, &Tray.Shown, sizeof status) == 0;
  if (sameStatus && pausedUntil == Tray.ShownPausedUntil && minute == Tray.ShownMinute) return;
  memcpy(&Tray.Shown, &status, sizeof status);
  const TTrayState state = {&Tray.Shown, pausedUntil, now, Tray.Language};
  BuildTrayTooltip(state, Tray.Tooltip, sizeof Tray.Tooltip);
  sd_bus_emit_signal(Tray.Bus, ItemPath, ItemInterface, "NewToolTip", "");
  if (!sameStatus || pausedUntil != Tray.ShownPausedUntil) {
    BuildTrayMenu(state, Tray.Menu);
    DbusMenuChanged(Tray.Bus, Tray.BusMenu);
  }
  Tray.ShownPausedUntil = pausedUntil;
  Tray.ShownMinute = minute;
}

void CloseTray() {
  if (Tray.Bus != nullptr) sd_bus_flush_close_unref(Tray.Bus);
  Tray.Bus = nullptr;
  Tray.NameOwned = Tray.WatcherPresent = false;
}

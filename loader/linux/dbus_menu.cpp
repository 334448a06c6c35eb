#include "loader/linux/dbus_menu.h"

#include <stdlib.h>
#include <string.h>
#include <systemd/sd-bus.h>

namespace {

constexpr char DbusMenuInterface[] = "com.canonical.dbusmenu";
constexpr uint32_t DbusMenuVersion = 3;
constexpr int32_t RootId = 0;

TDbusMenu& MenuOf(void* data) { return *static_cast<TDbusMenu*>(data); }

const TTrayItem* ItemOf(const TDbusMenu& menu, int32_t id) {
  if (menu.Menu == nullptr || id < 1 || id > menu.Menu->Count) return nullptr;
  return &menu.Menu->Items[id - 1];
}

bool Wanted(const char* const* names, const char* name) {
  if (names == nullptr || names[0] == nullptr) return true;  // none named: all
  for (; *names != nullptr; ++names)
    if (strcmp(*names, name) == 0) return true;
  return false;
}

int AppendProperty(sd_bus_message* reply, const char* name, const char* type, const void* value) {
  int r = sd_bus_message_open_container(reply, 'e', "sv");
  if (r >= 0) r = sd_bus_message_append_basic(reply, 's', name);
  if (r >= 0) r = sd_bus_message_open_container(reply, 'v', type);
  if (r >= 0) r = sd_bus_message_append_basic(reply, type[0], value);
  if (r >= 0) r = sd_bus_message_close_container(reply);
  if (r >= 0) r = sd_bus_message_close_container(reply);
  return r;
}

// The a{sv} of one entry (or of the root), only the properties named.
int AppendProperties(sd_bus_message* reply, const TDbusMenu& menu, int32_t id, char** names) {
  int r = sd_bus_message_open_container(reply, 'a', "{sv}");
  if (r < 0) return r;
  const TTrayItem* item = ItemOf(menu, id);
  if (id == RootId) {
    if (Wanted(names, "children-display")) r = AppendProperty(reply, "children-display", "s", "submenu");
  } else if (item != nullptr && item->Separator) {
    if (Wanted(names, "type")) r = AppendProperty(reply, "type", "s", "separator");
  } else if (item != nullptr) {
    char label[TrayLabelSize * 2];
    LabelWithUnderscores(item->Label, label, sizeof label);
    const int enabled = item->Enabled;
    if (Wanted(names, "label")) r = AppendProperty(reply, "label", "s", label);
    if (r >= 0 && Wanted(names, "enabled")) r = AppendProperty(reply, "enabled", "b", &enabled);
  }
  if (r < 0) return r;
  return sd_bus_message_close_container(reply);
}

// (ia{sv}av): an entry with its children, which only the root has.
int AppendLayout(sd_bus_message* reply, const TDbusMenu& menu, int32_t id, int32_t depth, char** names) {
  int r = sd_bus_message_open_container(reply, 'r', "ia{sv}av");
  if (r >= 0) r = sd_bus_message_append_basic(reply, 'i', &id);
  if (r >= 0) r = AppendProperties(reply, menu, id, names);
  if (r >= 0) r = sd_bus_message_open_container(reply, 'a', "v");
  if (r >= 0 && id == RootId && depth != 0 && menu.Menu != nullptr) {
    for (int32_t child = 1; r >= 0 && child <= menu.Menu->Count; ++child) {
      r = sd_bus_message_open_container(reply, 'v', "(ia{sv}av)");
      if (r >= 0) r = AppendLayout(reply, menu, child, depth - 1, names);
      if (r >= 0) r = sd_bus_message_close_container(reply);
    }
  }
  if (r >= 0) r = sd_bus_message_close_container(reply);
  if (r >= 0) r = sd_bus_message_close_container(reply);
  return r;
}

void Clicked(TDbusMenu& menu, int32_t id, const char* event) {
  const TTrayItem* item = ItemOf(menu, id);
  if (item == nullptr || strcmp(event, "clicked") != 0 || !item->Enabled || item->Command == TrayNoCommand) return;
  menu.Chosen |= 1u << item->Command;
}

// A list of property names as sd_bus_message_read_strv gives it.
void FreeNames(char** names) {
  if (names == nullptr) return;
  for (char** name = names; *name != nullptr; ++name) free(*name);
  free(names);
}

int GetLayout(sd_bus_message* call, void* data, sd_bus_error*) {
  const TDbusMenu& menu = MenuOf(data);
  int32_t parent = 0, depth = -1;
  char** names = nullptr;
  int r = sd_bus_message_read(call, "ii", &parent, &depth);
  if (r >= 0) r = sd_bus_message_read_strv(call, &names);
  sd_bus_message* reply = nullptr;
  if (r >= 0) r = sd_bus_message_new_method_return(call, &reply);
  if (r >= 0) r = sd_bus_message_append(reply, "u", menu.Revision);
  if (r >= 0) r = AppendLayout(reply, menu, parent == RootId || ItemOf(menu, parent) != nullptr ? parent : RootId,
                               depth, names);
  if (r >= 0) r = sd_bus_send(nullptr, reply, nullptr);
  sd_bus_message_unref(reply);
  FreeNames(names);
  return r;
}

int GetGroupProperties(sd_bus_message* call, void* data, sd_bus_error*) {
  const TDbusMenu& menu = MenuOf(data);
  const void* ids = nullptr;
  size_t size = 0;
  char** names = nullptr;
  int r = sd_bus_message_read_array(call, 'i', &ids, &size);
  // The ids are copied: reading on moves past them.
  int32_t wanted[MostTrayItems + 1];
  const size_t count = size / sizeof(int32_t) > MostTrayItems + 1 ? MostTrayItems + 1 : size / sizeof(int32_t);
  if (r >= 0) memcpy(wanted, ids, count * sizeof(int32_t));
  if (r >= 0) r = sd_bus_message_read_strv(call, &names);
  sd_bus_message* reply = nullptr;
  if (r >= 0) r = sd_bus_message_new_method_return(call, &reply);
  if (r >= 0) r = sd_bus_message_open_container(reply, 'a', "(ia{sv})");
  for (size_t i = 0; r >= 0 && i < count; ++i) {
    if (wanted[i] != RootId && ItemOf(menu, wanted[i]) == nullptr) continue;
    r = sd_bus_message_open_container(reply, 'r', "ia{sv}");
    if (r >= 0) r = sd_bus_message_append_basic(reply, 'i', &wanted[i]);
    if (r >= 0) r = AppendProperties(reply, menu, wanted[i], names);
    if (r >= 0) r = sd_bus_message_close_container(reply);
  }
  if (r >= 0) r = sd_bus_message_close_container(reply);
  if (r >= 0) r = sd_bus_send(nullptr, reply, nullptr);
  sd_bus_message_unref(reply);
  FreeNames(names);
  return r;
}

int GetProperty(sd_bus_message* call, void* data, sd_bus_error* error) {
  const TDbusMenu& menu = MenuOf(data);
  int32_t id = 0;
  const char* name = nullptr;
  int r = sd_bus_message_read(call, "is", &id, &name);
  if (r < 0) return r;
  const TTrayItem* item = ItemOf(menu, id);
  if (item == nullptr || item->Separator) return sd_bus_error_set(error, SD_BUS_ERROR_INVALID_ARGS, "no such entry");
  char label[TrayLabelSize * 2];
  LabelWithUnderscores(item->Label, label, sizeof label);
  if (strcmp(name, "label") == 0) return sd_bus_reply_method_return(call, "v", "s", label);
  if (strcmp(name, "enabled") == 0) return sd_bus_reply_method_return(call, "v", "b", item->Enabled ? 1 : 0);
  return sd_bus_error_set(error, SD_BUS_ERROR_INVALID_ARGS, "no such property");
}

int Event(sd_bus_message* call, void* data, sd_bus_error*) {
  int32_t id = 0;
  const char* event = nullptr;
  int r = sd_bus_message_read(call, "is", &id, &event);
  if (r < 0) return r;
  Clicked(MenuOf(data), id, event);
  return sd_bus_reply_method_return(call, "");
}

int EventGroup(sd_bus_message* call, void* data, sd_bus_error*) {
  int r = sd_bus_message_enter_container(call, 'a', "(isvu)");
  while (r > 0 && (r = sd_bus_message_enter_container(call, 'r', "isvu")) > 0) {
    int32_t id = 0;
    const char* event = nullptr;
    if ((r = sd_bus_message_read(call, "is", &id, &event)) < 0 || (r = sd_bus_message_skip(call, "vu")) < 0) break;
    Clicked(MenuOf(data), id, event);
    r = sd_bus_message_exit_container(call);
  }
  if (r < 0) return r;
  return sd_bus_reply_method_return(call, "ai", 0);
}

// The entries are always up to date: nothing to refresh before showing.
int AboutToShow(sd_bus_message* call, void*, sd_bus_error*) { return sd_bus_reply_method_return(call, "b", 0); }

int AboutToShowGroup(sd_bus_message* call, void*, sd_bus_error*) {
  return sd_bus_reply_method_return(call, "aiai", 0, 0);
}

int VersionProperty(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*, sd_bus_error*) {
  return sd_bus_message_append(reply, "u", DbusMenuVersion);
}

int TextProperty(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply, void*,
                 sd_bus_error*) {
  return sd_bus_message_append(reply, "s", strcmp(property, "TextDirection") == 0 ? "ltr" : "normal");
}

int IconThemePathProperty(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                          sd_bus_error*) {
  return sd_bus_message_append(reply, "as", 0);
}

const sd_bus_vtable DbusMenuTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("GetLayout", "iias", "u(ia{sv}av)", GetLayout, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("GetGroupProperties", "aias", "a(ia{sv})", GetGroupProperties, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("GetProperty", "is", "v", GetProperty, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Event", "isvu", "", Event, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("EventGroup", "a(isvu)", "ai", EventGroup, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("AboutToShow", "i", "b", AboutToShow, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("AboutToShowGroup", "ai", "aiai", AboutToShowGroup, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_PROPERTY("Version", "u", VersionProperty, 0, 0),
    SD_BUS_PROPERTY("TextDirection", "s", TextProperty, 0, 0),
    SD_BUS_PROPERTY("Status", "s", TextProperty, 0, 0),
    SD_BUS_PROPERTY("IconThemePath", "as", IconThemePathProperty, 0, 0),
    SD_BUS_SIGNAL("ItemsPropertiesUpdated", "a(ia{sv})a(ias)", 0),
    SD_BUS_SIGNAL("LayoutUpdated", "ui", 0),
    SD_BUS_SIGNAL("ItemActivationRequested", "iu", 0),
    SD_BUS_VTABLE_END};

}  // namespace

bool ExportDbusMenu(sd_bus* bus, TDbusMenu& menu) {
  return sd_bus_add_object_vtable(bus, nullptr, DbusMenuPath, DbusMenuInterface, DbusMenuTable, &menu) >= 0;
}

void DbusMenuChanged(sd_bus* bus, TDbusMenu& menu) {
  ++menu.Revision;
  sd_bus_emit_signal(bus, DbusMenuPath, DbusMenuInterface, "LayoutUpdated", "ui", menu.Revision, RootId);
}

// The icon's menu on the session bus, as the com.canonical.dbusmenu interface
// that notification-area hosts read: the root (id 0) holds the entries of a
// TTrayMenu, entry i having id i + 1. A host's "clicked" event on an entry
// marks its command as chosen.
#pragma once

#include <stdint.h>

#include "loader/tray_menu.h"

struct sd_bus;

constexpr char DbusMenuPath[] = "/MenuBar";

struct TDbusMenu {
  const TTrayMenu* Menu = nullptr;
  uint32_t Revision = 1;
  uint32_t Chosen = 0;  // bit 1 << command for each command chosen since last looked at
};

// Exports the menu's object; false when the bus refuses it.
bool ExportDbusMenu(sd_bus* bus, TDbusMenu& menu);

// Tells the hosts that the entries have changed.
void DbusMenuChanged(sd_bus* bus, TDbusMenu& menu);

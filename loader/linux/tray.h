// Tonewatch's icon in the notification area: a StatusNotifierItem on the
// session bus with its menu (dbus_menu.h), shown when the settings file says
// [Tonewatch] Tray=1 or "/tray" asks for it. Where no host runs (no
// org.kde.StatusNotifierWatcher on the bus) nothing shows; the item registers
// as soon as a watcher takes that name, which the bus itself reports
// (NameOwnerChanged): nothing is polled. Without a session bus there is no
// icon and the loader runs on as without one.
#pragma once

#include <poll.h>
#include <stdint.h>

#include "loader/command_line.h"
#include "loader/watch_status.h"

// Before OpenTray: "/tray" or "/notray", which outweigh the settings.
void ChooseTray(TTrayChoice choice);

void OpenTray();

// Whether the icon is there (or waits for a host): its bus is then polled.
bool TrayIsOpen();

void AddTrayToPoll(pollfd& slot, int& timeoutMs, uint64_t now);

// Handles what the bus brought; returns the commands chosen in the menu since
// the last call, as bits 1 << TTrayCommand.
uint32_t ProcessTray(const pollfd& slot, uint64_t now);

// The menu and the tooltip follow the watch's state and the pause; the hosts
// hear of a change.
void UpdateTray(const TWatchStatus& status, int64_t pausedUntil);

void CloseTray();

// What logind reports on the system bus: resume from suspend
// (PrepareForSleep(false)), and this session coming back to the user: made
// active again after a switch of virtual terminal (Active turning true),
// unlocked (LockedHint turning false), or asked to unlock (Unlock). Without
// a system bus the loader runs on without these; when the bus goes away
// under it (a restart of the bus daemon), it connects again, retrying at
// growing intervals. sd-bus honours DBUS_SYSTEM_BUS_ADDRESS, which points
// the watch at another bus; the tests use it to stand in for logind.
#pragma once

#include <poll.h>
#include <stdint.h>

#include "loader/linux/clock.h"

struct sd_bus;

struct TSystemBusWatch {
  sd_bus* Bus = nullptr;
  // Since the last ProcessSystemBusWatch:
  int Resumes = 0;
  int SessionReturns = 0;
  bool WatchRefused = false;
  // While the bus is lost: when to try again, and how long the last wait was.
  uint64_t ReconnectAt = NoDeadline;
  uint64_t ReconnectDelayMs = 0;
};

// What the bus brought since the last call.
struct TSystemBusNews {
  int Resumes = 0;
  int SessionReturns = 0;
};

// The watch must stay where it is while open: the bus keeps its address.
void OpenSystemBusWatch(TSystemBusWatch& watch);

// Fills the poll entry for the bus and shortens timeoutMs (-1: none) to
// what the bus, or the next attempt to reconnect, needs.
void AddSystemBusWatchToPoll(const TSystemBusWatch& watch, pollfd& entry, int& timeoutMs, uint64_t now);

// Whether the loop must call ProcessSystemBusWatch after a poll.
bool SystemBusWatchIsDue(const TSystemBusWatch& watch, const pollfd& entry, uint64_t now);

// Handles whatever the bus has sent, and reconnects when it is time. A bus
// that fails is dropped and tried again later; one that refuses the watch is
// dropped for good.
TSystemBusNews ProcessSystemBusWatch(TSystemBusWatch& watch, uint64_t now);

void CloseSystemBusWatch(TSystemBusWatch& watch);

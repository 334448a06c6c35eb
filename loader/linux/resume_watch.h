// Resume from suspend, as logind reports it on the system bus with
// PrepareForSleep(false). Without a system bus the loader runs on, without
// resume launches. sd-bus honours DBUS_SYSTEM_BUS_ADDRESS, which points the
// watch at another bus; the tests use it to stand in for logind.
#pragma once

#include <poll.h>

struct sd_bus;

struct TResumeWatch {
  sd_bus* Bus = nullptr;
  // Since the last ProcessResumeWatch:
  int Resumes = 0;
  bool WatchInPlace = false;
  bool WatchRefused = false;
};

// What the bus brought since the last call.
struct TResumeNews {
  int Resumes = 0;
  // The bus has taken the watch: the work of connecting is over.
  bool WatchInPlace = false;
};

// The watch must stay where it is while open: the bus keeps its address.
void OpenResumeWatch(TResumeWatch& watch);

// Fills the poll entry for the bus and shortens timeoutMs (-1: none) to
// what the bus needs; leaves both alone when there is no bus.
void AddResumeWatchToPoll(const TResumeWatch& watch, pollfd& entry, int& timeoutMs);

// Handles whatever the bus has sent. A bus that fails, or refuses the
// watch, is dropped.
TResumeNews ProcessResumeWatch(TResumeWatch& watch);

void CloseResumeWatch(TResumeWatch& watch);

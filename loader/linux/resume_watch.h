// Resume from suspend, as logind reports it on the system bus with
// PrepareForSleep(false). Without a system bus the loader runs on, without
// resume launches. sd-bus honours DBUS_SYSTEM_BUS_ADDRESS, which points the
// watch at another bus; the tests use it to stand in for logind.
#pragma once

#include <poll.h>

struct sd_bus;

struct ResumeWatch {
  sd_bus* Bus = nullptr;
  int Resumes = 0;  // reported since the last ProcessResumeWatch
};

// The watch must stay where it is while open: the bus keeps its address.
void OpenResumeWatch(ResumeWatch& watch);

// Fills the poll entry for the bus and shortens timeout_ms (-1: none) to
// what the bus needs; leaves both alone when there is no bus.
void AddResumeWatchToPoll(const ResumeWatch& watch, pollfd& entry, int& timeout_ms);

// Handles whatever the bus has sent, and gives how many resumes it reported.
// A bus that fails is dropped.
int ProcessResumeWatch(ResumeWatch& watch);

void CloseResumeWatch(ResumeWatch& watch);

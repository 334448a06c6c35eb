#include "loader/linux/resume_watch.h"

#include <limits.h>
#include <stdint.h>
#include <systemd/sd-bus.h>
#include <time.h>

namespace {

constexpr char LogindService[] = "org.freedesktop.login1";
constexpr char LogindPath[] = "/org/freedesktop/login1";
constexpr char LogindManager[] = "org.freedesktop.login1.Manager";
constexpr char PrepareForSleep[] = "PrepareForSleep";
constexpr uint64_t MicrosecondsPerMillisecond = 1000;

// PrepareForSleep(true) comes before suspend, (false) after resume.
int PrepareForSleepHandler(sd_bus_message* message, void* watch, sd_bus_error*) {
  int goingToSleep = 1;
  if (sd_bus_message_read(message, "b", &goingToSleep) < 0) return 0;
  if (!goingToSleep) ++static_cast<TResumeWatch*>(watch)->Resumes;
  return 0;
}

int WatchInstalled(sd_bus_message* reply, void* watch, sd_bus_error*) {
  auto* resume = static_cast<TResumeWatch*>(watch);
  if (sd_bus_message_is_method_error(reply, nullptr)) {
    resume->WatchRefused = true;
  } else {
    resume->WatchInPlace = true;
  }
  return 0;
}

uint64_t MonotonicMicroseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000000 + static_cast<uint64_t>(now.tv_nsec) / 1000;
}

}  // namespace

void OpenResumeWatch(TResumeWatch& watch) {
  sd_bus* bus = nullptr;
  if (sd_bus_open_system(&bus) < 0) return;
  // Installed asynchronously, so that a slow bus never holds up the timed
  // launch. Naming logind as the sender matters: the bus daemon then passes
  // on only what the owner of logind's name sends, not what anyone forges.
  if (sd_bus_match_signal_async(bus, nullptr, LogindService, LogindPath, LogindManager,
                                PrepareForSleep, PrepareForSleepHandler, WatchInstalled, &watch) < 0) {
    sd_bus_close_unref(bus);
    return;
  }
  watch.Bus = bus;
}

void AddResumeWatchToPoll(const TResumeWatch& watch, pollfd& entry, int& timeoutMs) {
  if (watch.Bus == nullptr) return;
  int descriptor = sd_bus_get_fd(watch.Bus);
  int events = sd_bus_get_events(watch.Bus);
  if (descriptor < 0 || events < 0) return;
  entry.fd = descriptor;
  entry.events = static_cast<short>(events);

  uint64_t until;  // absolute, on the monotonic clock; UINT64_MAX for none
  if (sd_bus_get_timeout(watch.Bus, &until) < 0 || until == UINT64_MAX) return;
  uint64_t now = MonotonicMicroseconds();
  uint64_t waitMs = until <= now ? 0 : (until - now + MicrosecondsPerMillisecond - 1) / MicrosecondsPerMillisecond;
  if (waitMs > INT_MAX) waitMs = INT_MAX;
  if (timeoutMs < 0 || static_cast<int>(waitMs) < timeoutMs) timeoutMs = static_cast<int>(waitMs);
}

TResumeNews ProcessResumeWatch(TResumeWatch& watch) {
  while (watch.Bus != nullptr) {
    int result = sd_bus_process(watch.Bus, nullptr);
    if (result < 0 || watch.WatchRefused) CloseResumeWatch(watch);
    if (result <= 0) break;
  }
  TResumeNews news;
  news.Resumes = watch.Resumes;
  news.WatchInPlace = watch.WatchInPlace;
  watch.Resumes = 0;
  watch.WatchInPlace = false;
  return news;
}

void CloseResumeWatch(TResumeWatch& watch) {
  if (watch.Bus != nullptr) sd_bus_close_unref(watch.Bus);
  watch.Bus = nullptr;
}

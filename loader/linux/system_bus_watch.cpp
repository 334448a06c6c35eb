#include "loader/linux/system_bus_watch.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <systemd/sd-bus.h>

namespace {

constexpr char LogindService[] = "org.freedesktop.login1";
constexpr char LogindPath[] = "/org/freedesktop/login1";
constexpr char LogindManager[] = "org.freedesktop.login1.Manager";
constexpr char LogindSession[] = "org.freedesktop.login1.Session";
constexpr char PrepareForSleep[] = "PrepareForSleep";
constexpr char SessionIdVariable[] = "XDG_SESSION_ID";
// logind's name for the caller's own session, or the user's graphical one.
constexpr char OwnSession[] = "auto";
constexpr uint64_t FirstReconnectDelayMs = 1000;
constexpr uint64_t LongestReconnectDelayMs = 60000;
constexpr size_t MatchRuleSize = 512;

int WatchInstalled(sd_bus_message* reply, void* data, sd_bus_error*) {
  auto* watch = static_cast<TSystemBusWatch*>(data);
  if (sd_bus_message_is_method_error(reply, nullptr)) {
    watch->WatchRefused = true;
  } else {
    watch->ReconnectDelayMs = 0;
  }
  return 0;
}

// Given explicitly, as sd-bus would otherwise close the bus on a refusal:
// without the session's watch, the resume watch still serves.
int SessionWatchInstalled(sd_bus_message*, void*, sd_bus_error*) { return 0; }

// PrepareForSleep(true) comes before suspend, (false) after resume.
int PrepareForSleepHandler(sd_bus_message* message, void* data, sd_bus_error*) {
  int goingToSleep = 1;
  if (sd_bus_message_read(message, "b", &goingToSleep) < 0) return 0;
  if (!goingToSleep) ++static_cast<TSystemBusWatch*>(data)->Resumes;
  return 0;
}

// True when the changed properties say the session is back with the user.
bool SessionCameBack(sd_bus_message* message) {
  const char* interface = nullptr;
  if (sd_bus_message_read(message, "s", &interface) < 0 || strcmp(interface, LogindSession) != 0 ||
      sd_bus_message_enter_container(message, 'a', "{sv}") <= 0) {
    return false;
  }
  bool back = false;
  while (sd_bus_message_enter_container(message, 'e', "sv") > 0) {
    const char* name = nullptr;
    int value = 0;
    if (sd_bus_message_read(message, "s", &name) < 0) return back;
    bool active = strcmp(name, "Active") == 0;
    bool locked = strcmp(name, "LockedHint") == 0;
    if ((active || locked) && sd_bus_message_read(message, "v", "b", &value) >= 0) {
      if ((active && value) || (locked && !value)) back = true;
    } else if (sd_bus_message_skip(message, "v") < 0) {
      return back;
    }
    sd_bus_message_exit_container(message);
  }
  return back;
}

int SessionSignalHandler(sd_bus_message* message, void* data, sd_bus_error*) {
  const char* member = sd_bus_message_get_member(message);
  bool back = member != nullptr && strcmp(member, "Unlock") == 0;
  if (!back && sd_bus_message_is_signal(message, "org.freedesktop.DBus.Properties", "PropertiesChanged")) {
    back = SessionCameBack(message);
  }
  if (back) ++static_cast<TSystemBusWatch*>(data)->SessionReturns;
  return 0;
}

// Every signal that logind itself sends from this session's object.
int SessionFound(sd_bus_message* reply, void* data, sd_bus_error*) {
  const char* path = nullptr;
  if (sd_bus_message_is_method_error(reply, nullptr) || sd_bus_message_read(reply, "o", &path) < 0) {
    return 0;  // no session of ours: resume launches only
  }
  char rule[MatchRuleSize];
  int length = snprintf(rule, sizeof rule, "type='signal',sender='%s',path='%s'", LogindService, path);
  if (length < 0 || static_cast<size_t>(length) >= sizeof rule) return 0;
  auto* watch = static_cast<TSystemBusWatch*>(data);
  sd_bus_add_match_async(sd_bus_message_get_bus(reply), nullptr, rule, SessionSignalHandler,
                         SessionWatchInstalled, watch);
  return 0;
}

void Connect(TSystemBusWatch& watch) {
  sd_bus* bus = nullptr;
  if (sd_bus_open_system(&bus) < 0) return;
  // Everything is asynchronous, so that a slow bus never holds up a launch.
  // Naming logind as the sender matters: the bus daemon then passes on only
  // what the owner of logind's name sends, not what anyone forges.
  if (sd_bus_match_signal_async(bus, nullptr, LogindService, LogindPath, LogindManager,
                                PrepareForSleep, PrepareForSleepHandler, WatchInstalled, &watch) < 0) {
    sd_bus_close_unref(bus);
    return;
  }
  const char* session = getenv(SessionIdVariable);
  if (session == nullptr || session[0] == '\0') session = OwnSession;
  sd_bus_call_method_async(bus, nullptr, LogindService, LogindPath, LogindManager, "GetSession",
                           SessionFound, &watch, "s", session);
  watch.Bus = bus;
}

void Disconnect(TSystemBusWatch& watch) {
  if (watch.Bus != nullptr) sd_bus_close_unref(watch.Bus);
  watch.Bus = nullptr;
}

void ReconnectLater(TSystemBusWatch& watch, uint64_t now) {
  uint64_t delay = watch.ReconnectDelayMs * 2;
  if (delay < FirstReconnectDelayMs) delay = FirstReconnectDelayMs;
  if (delay > LongestReconnectDelayMs) delay = LongestReconnectDelayMs;
  watch.ReconnectDelayMs = delay;
  watch.ReconnectAt = now + delay;
}

uint64_t BusDeadline(sd_bus* bus) {
  uint64_t untilUs;  // absolute, on the monotonic clock; UINT64_MAX for none
  if (sd_bus_get_timeout(bus, &untilUs) < 0 || untilUs == UINT64_MAX) return NoDeadline;
  return (untilUs + 999) / 1000;
}

}  // namespace

void OpenSystemBusWatch(TSystemBusWatch& watch) { Connect(watch); }

void AddSystemBusWatchToPoll(const TSystemBusWatch& watch, pollfd& entry, int& timeoutMs, uint64_t now) {
  entry = {-1, 0, 0};
  if (watch.Bus == nullptr) {
    WaitNoLaterThan(watch.ReconnectAt, now, timeoutMs);
    return;
  }
  int descriptor = sd_bus_get_fd(watch.Bus);
  int events = sd_bus_get_events(watch.Bus);
  if (descriptor < 0 || events < 0) return;
  entry = {descriptor, static_cast<short>(events), 0};
  WaitNoLaterThan(BusDeadline(watch.Bus), now, timeoutMs);
}

bool SystemBusWatchIsDue(const TSystemBusWatch& watch, const pollfd& entry, uint64_t now) {
  if (watch.Bus == nullptr) return watch.ReconnectAt <= now;
  return entry.revents != 0 || BusDeadline(watch.Bus) <= now;
}

TSystemBusNews ProcessSystemBusWatch(TSystemBusWatch& watch, uint64_t now) {
  if (watch.Bus == nullptr && watch.ReconnectAt <= now) {
    watch.ReconnectAt = NoDeadline;
    Connect(watch);
    if (watch.Bus == nullptr) ReconnectLater(watch, now);
  }
  while (watch.Bus != nullptr) {
    int result = sd_bus_process(watch.Bus, nullptr);
    if (result < 0) {
      Disconnect(watch);
      ReconnectLater(watch, now);
    } else if (watch.WatchRefused) {
      Disconnect(watch);
    }
    if (result <= 0) break;
  }
  TSystemBusNews news;
  news.Resumes = watch.Resumes;
  news.SessionReturns = watch.SessionReturns;
  watch.Resumes = 0;
  watch.SessionReturns = 0;
  watch.WatchRefused = false;
  return news;
}

void CloseSystemBusWatch(TSystemBusWatch& watch) {
  Disconnect(watch);
  watch.ReconnectAt = NoDeadline;
}

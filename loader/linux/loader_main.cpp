#include "loader/linux/loader_main.h"

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include "loader/linux/clock.h"
#include "loader/linux/close_requests.h"
#include "loader/linux/display_watch.h"
#include "loader/linux/instance.h"
#include "loader/linux/launch.h"
#include "loader/linux/system_bus_watch.h"
#include "loader/linux/trim_working_set.h"

namespace {

constexpr long NanosecondsPerMillisecond = 1000000;
constexpr int32_t MillisecondsPerSecond = 1000;
// Display changes and the session's return come in bursts (a dock bringing
// three monitors, a desktop resetting every ramp after unlock): one launch
// this long after the last of them.
constexpr uint64_t SettleDelayMs = 1000;

enum PollSlot { SignalSlot, TimerSlot, DisplaySlot, BusSlot, ControlSlot, SlotCount = ControlSlot + 1 + MostWaitingRequests };

sigset_t EndSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  return signals;
}

// The one timed launch; -1 when the timer cannot be set, and then only the
// launch at start and the launches on events happen.
int StartLoadTimer(int32_t delay_ms) {
  int timer = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
  if (timer < 0) return -1;
  itimerspec once = {};
  once.it_value.tv_sec = delay_ms / MillisecondsPerSecond;
  once.it_value.tv_nsec = (delay_ms % MillisecondsPerSecond) * NanosecondsPerMillisecond;
  if (timerfd_settime(timer, 0, &once, nullptr) != 0) {
    close(timer);
    return -1;
  }
  return timer;
}

void LaunchAndTrim() {
  LaunchLoadMode();
  TrimWorkingSet();
}

}  // namespace

void PrepareSignals() {
  ReapChildrenAutomatically();
  sigset_t signals = EndSignals();
  sigprocmask(SIG_BLOCK, &signals, nullptr);
}

void LoaderMain(int32_t delay_ms) {
  sigset_t end_signals = EndSignals();
  int signals = signalfd(-1, &end_signals, SFD_NONBLOCK | SFD_CLOEXEC);
  // Blocked and unread, SIGTERM could not end the loader at all; the
  // system's own handling still ends it, and the lock goes with it.
  if (signals < 0) sigprocmask(SIG_UNBLOCK, &end_signals, nullptr);
  LoaderInstance instance;
  if (!TakeInstanceLock(instance)) {
    if (signals >= 0) close(signals);
    return;
  }
  OpenControlSocket(instance);
  CloseRequests requests;
  requests.Listener = instance.ControlSocket;
  int timer = StartLoadTimer(delay_ms);
  DisplayWatch display;
  OpenDisplayWatch(display);
  SystemBusWatch bus;
  OpenSystemBusWatch(bus);
  TrimWorkingSet();  // connecting ran much code that the wait does not need

  uint64_t settle_at = NoDeadline;
  int close_connection = -1;
  while (close_connection < 0) {
    pollfd slots[SlotCount] = {{signals, POLLIN, 0}, {timer, POLLIN, 0}};
    int timeout_ms = -1;
    uint64_t now = MonotonicMs();
    AddDisplayWatchToPoll(display, slots[DisplaySlot]);
    AddSystemBusWatchToPoll(bus, slots[BusSlot], timeout_ms, now);
    AddCloseRequestsToPoll(requests, &slots[ControlSlot], timeout_ms, now);
    WaitNoLaterThan(settle_at, now, timeout_ms);
    if (poll(slots, SlotCount, timeout_ms) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    now = MonotonicMs();
    if (slots[SignalSlot].revents != 0) break;  // SIGTERM or SIGINT
    if (slots[TimerSlot].revents != 0) {
      close(timer);
      timer = -1;
      LaunchAndTrim();
    }
    close_connection = ServeCloseRequests(requests, &slots[ControlSlot], now);
    if (slots[DisplaySlot].revents != 0 && ProcessDisplayWatch(display) > 0) settle_at = now + SettleDelayMs;
    // The bus only when it has something or a time-out is up: running its
    // code on every wake-up would bring back what the trim let go.
    if (SystemBusWatchIsDue(bus, slots[BusSlot], now)) {
      SystemBusNews news = ProcessSystemBusWatch(bus, now);
      for (int i = 0; i < news.Resumes; ++i) LaunchAndTrim();
      if (news.SessionReturns > 0) settle_at = now + SettleDelayMs;
      // Connecting, or reading news that launches nothing, ran code that the
      // wait does not need.
      if (news.Resumes == 0) TrimWorkingSet();
    }
    if (settle_at <= now) {
      settle_at = NoDeadline;
      LaunchAndTrim();
    }
  }

  ReleaseInstance(instance);
  if (close_connection >= 0) close(close_connection);  // tells "/uninstall" the lock is free
  DropCloseRequests(requests);
  CloseSystemBusWatch(bus);
  CloseDisplayWatch(display);
  if (timer >= 0) close(timer);
  if (signals >= 0) close(signals);
}

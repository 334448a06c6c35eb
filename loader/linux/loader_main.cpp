#include "loader/linux/loader_main.h"

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

#include "loader/linux/clock.h"
#include "loader/linux/close_requests.h"
#include "loader/linux/display_watch.h"
#include "loader/linux/editing_session.h"
#include "loader/linux/gamma_holder.h"
#include "loader/linux/gamma_requests.h"
#include "loader/linux/instance.h"
#include "loader/linux/launch.h"
#include "loader/linux/load_runs.h"
#include "loader/linux/pause.h"
#include "loader/linux/ramp_watch.h"
#include "loader/linux/system_bus_watch.h"
#include "loader/linux/trim_working_set.h"
#include "loader/linux/tray.h"
#include "loader/tray_menu.h"
#include "loader/tray_settings.h"

namespace {

constexpr long NanosecondsPerMillisecond = 1000000;
constexpr int32_t MillisecondsPerSecond = 1000;
// Display changes and the session's return come in bursts (a dock bringing
// three monitors, a desktop resetting every ramp after unlock): one launch
// this long after the last of them.
constexpr uint64_t SettleDelayMs = 1000;
// A load run held back for a calibration session: whether the session has
// ended is looked at this soon (a session that is ending may hold its lock a
// moment longer than its connections), then this often.
constexpr uint64_t FirstSessionCheckMs = 250;
constexpr uint64_t SessionCheckMs = 2000;

enum TPollSlot {
  SignalSlot,
  TimerSlot,
  DisplaySlot,
  BusSlot,
  RunSlot,
  CompositorSlot,
  ControlSlot,
  GammaSlot = ControlSlot + 1 + MostWaitingRequests,
  // Last, and polled only while the icon is shown: poll() refuses more
  // entries than the process may have descriptors.
  TraySlot = GammaSlot + 1 + MostGammaClients,
  SlotCount
};

sigset_t EndSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  return signals;
}

// The one timed launch; -1 when the timer cannot be set, and then only the
// launch at start and the launches on events happen.
int StartLoadTimer(int32_t delayMs) {
  int timer = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
  if (timer < 0) return -1;
  itimerspec once = {};
  once.it_value.tv_sec = delayMs / MillisecondsPerSecond;
  once.it_value.tv_nsec = (delayMs % MillisecondsPerSecond) * NanosecondsPerMillisecond;
  if (timerfd_settime(timer, 0, &once, nullptr) != 0) {
    close(timer);
    return -1;
  }
  return timer;
}

// A load run wanted during a calibration session waits for its end: until
// then the next look at the session, NoDeadline when none waits.
struct THeldBackRun {
  uint64_t CheckAt = NoDeadline;
};

void HoldBack(THeldBackRun& heldBack, uint64_t now) {
  heldBack.CheckAt = now + (heldBack.CheckAt == NoDeadline ? FirstSessionCheckMs : SessionCheckMs);
}

void LaunchAndTrim(TLoadRuns& runs, const TGammaHolder& holder, THeldBackRun& heldBack, uint64_t now) {
  // A wlroots session that has the outputs from the loader brings a load run
  // itself when it ends: nothing is left to look at until then (a look left
  // due would make every wait end at once).
  if (SessionHasOutputs(holder)) {
    heldBack = THeldBackRun();
    return;
  }
  if (CalibrationPaused()) return;  // a pause holds every run back
  if (EditingSessionOpen()) {
    HoldBack(heldBack, now);
    return;
  }
  heldBack = THeldBackRun();
  RequestLoadRun(runs);
  TrimWorkingSet();
}

// What the icon's menu asked for; false for Quit.
bool ObeyTray(uint32_t chosen, TLoadRuns& runs, const TGammaHolder& holder, THeldBackRun& heldBack, uint64_t now) {
  const auto asked = [chosen](TTrayCommand command) { return (chosen & (1u << command)) != 0; };
  if (asked(TrayTurnOn)) EndPause();
  if (asked(TrayReapply) || asked(TrayTurnOn)) LaunchAndTrim(runs, holder, heldBack, now);
  if (asked(TrayPauseHour) || asked(TrayPauseUntilOn)) {
    StartPause(asked(TrayPauseUntilOn) ? PausedForever : time(nullptr) + PauseHourSeconds);
    RequestLoadRun(runs, true);
  }
  if (asked(TrayCalibrate)) LaunchCalibration();
  if (chosen != 0) TrimWorkingSet();
  return !asked(TrayQuit);
}

}  // namespace

void PrepareSignals() {
  ReapChildrenAutomatically();
  sigset_t signals = EndSignals();
  sigprocmask(SIG_BLOCK, &signals, nullptr);
}

void LoaderMain(int32_t delayMs, pid_t firstRun, bool takeNow, bool firstRunHeldBack) {
  sigset_t endSignals = EndSignals();
  int signals = signalfd(-1, &endSignals, SFD_NONBLOCK | SFD_CLOEXEC);
  // Blocked and unread, SIGTERM could not end the loader at all; the
  // system's own handling still ends it, and the lock goes with it.
  if (signals < 0) sigprocmask(SIG_UNBLOCK, &endSignals, nullptr);
  TLoaderInstance instance;
  if (!TakeInstanceLock(instance)) {
    if (signals >= 0) close(signals);
    return;
  }
  OpenControlSocket(instance);
  TCloseRequests requests;
  requests.Listener = instance.ControlSocket;
  int timer = StartLoadTimer(delayMs);
  TDisplayWatch display;
  OpenDisplayWatch(display);
  TSystemBusWatch bus;
  OpenSystemBusWatch(bus);
  TGammaHolder holder;
  TGammaRequests gammaRequests;
  if (OpenGammaHolder(holder, takeNow)) OpenGammaRequests(gammaRequests, instance.Folder);
  TLoadRuns runs;
  AdoptLoadRun(runs, firstRun);
  THeldBackRun heldBack;
  if (firstRunHeldBack) HoldBack(heldBack, MonotonicMs());
  OpenRampWatch(display);
  OpenTray();
  TrimWorkingSet();  // connecting ran much code that the wait does not need

  uint64_t settleAt = NoDeadline;
  int closeConnection = -1;
  while (closeConnection < 0) {
    pollfd slots[SlotCount] = {{signals, POLLIN, 0}, {timer, POLLIN, 0}};
    int timeoutMs = -1;
    uint64_t now = MonotonicMs();
    AddDisplayWatchToPoll(display, slots[DisplaySlot]);
    AddLoadRunsToPoll(runs, slots[RunSlot]);
    AddSystemBusWatchToPoll(bus, slots[BusSlot], timeoutMs, now);
    AddCloseRequestsToPoll(requests, &slots[ControlSlot], timeoutMs, now);
    AddGammaHolderToPoll(holder, slots[CompositorSlot], timeoutMs, now);
    AddGammaRequestsToPoll(gammaRequests, &slots[GammaSlot], timeoutMs, now);
    WaitNoLaterThan(settleAt, now, timeoutMs);
    WaitNoLaterThan(heldBack.CheckAt, now, timeoutMs);
    AddRampWatchToPoll(timeoutMs, now);
    AddTrayToPoll(slots[TraySlot], timeoutMs, now);
    WaitNoLaterThan(PauseEndsAt(now), now, timeoutMs);
    if (poll(slots, TrayIsOpen() ? SlotCount : TraySlot, timeoutMs) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    now = MonotonicMs();
    if (slots[SignalSlot].revents != 0) break;  // SIGTERM or SIGINT
    if (slots[TimerSlot].revents != 0) {
      close(timer);
      timer = -1;
      LaunchAndTrim(runs, holder, heldBack, now);
    }
    closeConnection = ServeCloseRequests(requests, &slots[ControlSlot], now);
    const bool compositorAnswered = holder.Display != nullptr;
    if (ProcessGammaHolder(holder, slots[CompositorSlot], now)) LaunchAndTrim(runs, holder, heldBack, now);
    else if (slots[CompositorSlot].revents != 0) TrimWorkingSet();
    if (!compositorAnswered && holder.Display != nullptr) OpenGammaRequests(gammaRequests, instance.Folder);
    if (ServeGammaRequests(gammaRequests, holder, &slots[GammaSlot], now)) TrimWorkingSet();
    if (holder.Broken) break;  // the compositor, and with it the session, has ended
    if (slots[DisplaySlot].revents != 0 && ProcessDisplayWatch(display) > 0) settleAt = now + SettleDelayMs;
    // The bus only when it has something or a time-out is up: running its
    // code on every wake-up would bring back what the trim let go.
    if (SystemBusWatchIsDue(bus, slots[BusSlot], now)) {
      TSystemBusNews news = ProcessSystemBusWatch(bus, now);
      for (int i = 0; i < news.Resumes; ++i) LaunchAndTrim(runs, holder, heldBack, now);
      if (news.SessionReturns > 0) settleAt = now + SettleDelayMs;
      // Connecting, or reading news that launches nothing, ran code that the
      // wait does not need.
      if (news.Resumes == 0) TrimWorkingSet();
    }
    if (settleAt <= now) {
      settleAt = NoDeadline;
      LaunchAndTrim(runs, holder, heldBack, now);
    }
    if (heldBack.CheckAt <= now) LaunchAndTrim(runs, holder, heldBack, now);
    if (ProcessLoadRuns(runs, slots[RunSlot])) TrimWorkingSet();
    if (ProcessRampWatch(now, runs.Running >= 0 || CalibrationPaused(), display) > 0) settleAt = now + SettleDelayMs;
    if (PausedUntil() != 0 && PauseEndsAt(now) <= now) {
      EndPause();
      LaunchAndTrim(runs, holder, heldBack, now);
    }
    if (!ObeyTray(ProcessTray(slots[TraySlot], now), runs, holder, heldBack, now)) break;
    UpdateTray(CurrentWatchStatus(), PausedUntil());
  }

  CloseTray();
  CloseRampWatch();
  ReleaseInstance(instance);
  if (closeConnection >= 0) close(closeConnection);  // tells "/uninstall" the lock is free
  DropCloseRequests(requests);
  CloseSystemBusWatch(bus);
  CloseDisplayWatch(display);
  CloseLoadRuns(runs);
  CloseGammaRequests(gammaRequests);
  CloseGammaHolder(holder);
  if (timer >= 0) close(timer);
  if (signals >= 0) close(signals);
}

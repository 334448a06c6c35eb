#include "loader/linux/loader_main.h"

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include "loader/linux/instance.h"
#include "loader/linux/launch.h"
#include "loader/linux/resume_watch.h"
#include "loader/linux/trim_working_set.h"

namespace {

constexpr long NanosecondsPerMillisecond = 1000000;
constexpr int32_t MillisecondsPerSecond = 1000;

enum TPollSlot { SignalSlot, TimerSlot, ControlSlot, BusSlot, SlotCount };

sigset_t LoaderSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGCHLD);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  return signals;
}

// The one timed launch; -1 when the timer cannot be set, and then only the
// launch at start and the resume launches happen.
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

// Reaps ended children; true when asked to end.
bool ReadSignals(int signals) {
  bool end = false;
  signalfd_siginfo info;
  while (read(signals, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    if (info.ssi_signo == SIGCHLD) {
      ReapChildren();
    } else {
      end = true;
    }
  }
  return end;
}

void LaunchAndTrim() {
  LaunchLoadMode();
  TrimWorkingSet();
}

}  // namespace

void BlockLoaderSignals() {
  sigset_t signals = LoaderSignals();
  sigprocmask(SIG_BLOCK, &signals, nullptr);
}

void LoaderMain(int32_t delayMs) {
  sigset_t handled = LoaderSignals();
  int signals = signalfd(-1, &handled, SFD_NONBLOCK | SFD_CLOEXEC);
  if (signals < 0) {
    // Blocked and unread, SIGTERM could not end the loader at all; the
    // system's own handling still ends it, and the lock goes with it.
    sigprocmask(SIG_UNBLOCK, &handled, nullptr);
  }
  TLoaderInstance instance;
  if (!TakeInstanceLock(instance)) {
    if (signals >= 0) close(signals);
    return;
  }
  OpenControlSocket(instance);
  TResumeWatch resume;
  OpenResumeWatch(resume);
  int timer = StartLoadTimer(delayMs);
  ReapChildren();  // the launch at start may have ended before the descriptor existed

  int closeConnection = -1;
  for (bool waiting = true; waiting;) {
    pollfd slots[SlotCount] = {{signals, POLLIN, 0},
                               {timer, POLLIN, 0},
                               {instance.ControlSocket, POLLIN, 0},
                               {-1, 0, 0}};
    int timeoutMs = -1;
    AddResumeWatchToPoll(resume, slots[BusSlot], timeoutMs);
    int ready = poll(slots, SlotCount, timeoutMs);
    if (ready < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (slots[SignalSlot].revents != 0 && ReadSignals(signals)) waiting = false;
    if (slots[TimerSlot].revents != 0) {
      close(timer);
      timer = -1;
      LaunchAndTrim();
    }
    if (slots[ControlSlot].revents != 0) {
      closeConnection = AcceptCloseRequest(instance);
      if (closeConnection >= 0) waiting = false;
    }
    // The bus only when it has something, or its time-out is up: running
    // its code on every wake-up would bring back what the trim let go.
    if (slots[BusSlot].revents == 0 && ready != 0) continue;
    TResumeNews news = ProcessResumeWatch(resume);
    for (int i = 0; i < news.Resumes; ++i) LaunchAndTrim();
    // Connecting to the bus ran much code once; what it left is not needed
    // for the wait.
    if (news.WatchInPlace && news.Resumes == 0) TrimWorkingSet();
  }

  ReleaseInstance(instance);
  if (closeConnection >= 0) close(closeConnection);  // tells "/uninstall" the lock is free
  CloseResumeWatch(resume);
  if (timer >= 0) close(timer);
  if (signals >= 0) close(signals);
}

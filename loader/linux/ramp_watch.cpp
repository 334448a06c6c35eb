#include "loader/linux/ramp_watch.h"

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include "loader/linux/clock.h"
#include "loader/linux/data_folder.h"
#include "loader/linux/desktop_news.h"
#include "loader/linux/editing_session.h"
#include "loader/linux/launch.h"
#include "loader/linux/present_ramps.h"
#include "loader/linux/running_programs.h"
#include "loader/linux/runtime_folder.h"
#include "loader/linux/status_file.h"
#include "loader/status_text.h"
#include "loader/watch_settings.h"

namespace {

constexpr char DefaultLeaveAlone[] = "redshift,gammastep,xflux,xsct";
constexpr char SimVariable[] = "TONEMARK_SIM";
constexpr char WatchOffWhy[] = "the watch is turned off";
constexpr char WaylandWhy[] =
    "a Wayland session: Tonewatch's held gamma controls (wlroots) or the desktop itself keep the calibration";
constexpr char WindowOpenWhy[] = "a calibration window is open";
constexpr char NightLightWhy[] = "the desktop's night light is on";
constexpr char GivenUpWhy[] = "replaced 3 times in a row soon after each re-load: another program sets its ramp";
constexpr size_t LongestShownFile = 1 << 20;
constexpr int64_t MillisecondsPerSecond = 1000;

struct TFileStamp {
  timespec Modified = {};
  off_t Size = -1;
  ino_t Node = 0;
};

struct TRampWatch {
  int32_t ChosenSeconds = -1;
  int32_t Seconds = 0;  // 0: not watching
  const char* NotWatchedWhy = WatchOffWhy;
  uint64_t NextLookAt = NoDeadline;
  char ShownPath[PATH_MAX] = {};
  char SettingsPath[PATH_MAX] = {};
  TWatchSettings Settings;
  TShownFile Shown;
  TFileStamp ShownStamp;
  TWatchedDisplay Rules[MostWatchedDisplays];
  TPresentRamps Ramps;
  int Reapply = -1;  // pidfd of the re-load going on
  int ReapplyIndex = -1;
  int32_t Day = 0;  // local day of the counts of re-loads
};

TRampWatch Watch;
TWatchStatus Status;

bool IsWaylandSession() {
  const char* type = getenv("XDG_SESSION_TYPE");
  return getenv("WAYLAND_DISPLAY") != nullptr || (type != nullptr && strcmp(type, "wayland") == 0);
}

TFileStamp StampOf(const char* path) {
  TFileStamp stamp;
  struct stat info;
  if (stat(path, &info) == 0) {
    stamp.Modified = info.st_mtim;
    stamp.Size = info.st_size;
    stamp.Node = info.st_ino;
  }
  return stamp;
}

bool SameStamp(const TFileStamp& a, const TFileStamp& b) {
  return a.Size == b.Size && a.Node == b.Node && a.Modified.tv_sec == b.Modified.tv_sec &&
         a.Modified.tv_nsec == b.Modified.tv_nsec;
}

// Maps the file for as long as it is parsed, so that its text costs the
// resident loader no heap.
template <class Use>
void WithFileText(const char* path, Use use) {
  const int file = open(path, O_RDONLY | O_CLOEXEC);
  struct stat info;
  if (file < 0 || fstat(file, &info) != 0 || info.st_size <= 0 || info.st_size > static_cast<off_t>(LongestShownFile)) {
    if (file >= 0) close(file);
    use(static_cast<const char*>(nullptr), static_cast<size_t>(0));
    return;
  }
  const size_t length = static_cast<size_t>(info.st_size);
  void* text = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, file, 0);
  close(file);
  if (text == MAP_FAILED) {
    use(static_cast<const char*>(nullptr), static_cast<size_t>(0));
    return;
  }
  use(static_cast<const char*>(text), length);
  munmap(text, length);
}

void ReadSettings() {
  WithFileText(Watch.SettingsPath, [](const char* text, size_t length) {
    ReadWatchSettings(text != nullptr ? text : "", length, DefaultLeaveAlone, Watch.Settings);
  });
}

int32_t LocalDay() {
  const time_t now = time(nullptr);
  struct tm local;
  if (localtime_r(&now, &local) == nullptr) return 0;
  return local.tm_year * 400 + local.tm_yday;
}

// Counts of re-loads start again at local midnight.
void CountFromToday() {
  const int32_t today = LocalDay();
  if (today == Watch.Day) return;
  Watch.Day = today;
  for (int i = 0; i < Status.Count; ++i) Status.Displays[i].ReloadsToday = 0;
}

// Reads Tonemark.shown again when it has changed. A change that is not the
// watch's own re-load is a load run: every display is watched again from
// scratch (a display given up included).
void RefreshShown(bool ownReload) {
  const TFileStamp stamp = StampOf(Watch.ShownPath);
  if (SameStamp(stamp, Watch.ShownStamp)) return;
  Watch.ShownStamp = stamp;
  const TWatchStatus before = Status;
  TWatchedDisplay rules[MostWatchedDisplays];
  memcpy(rules, Watch.Rules, sizeof rules);
  WithFileText(Watch.ShownPath, [](const char* text, size_t length) { ReadShownText(text, length, Watch.Shown); });
  StatusFromShown(Watch.Shown, Watch.Seconds > 0, Watch.NotWatchedWhy, Status);
  for (int i = 0; i < Status.Count; ++i) {
    WatchAgain(Watch.Rules[i]);
    for (int j = 0; j < before.Count; ++j) {
      if (strcmp(before.Displays[j].Identity, Status.Displays[i].Identity) != 0) continue;
      Status.Displays[i].ReloadsToday = before.Displays[j].ReloadsToday;
      if (ownReload) Watch.Rules[i] = rules[j];
      if (ownReload && rules[j].GaveUp) {
        Status.Displays[i].State = WatchLeftAlone;
        CopyText(Status.Displays[i].Why, sizeof Status.Displays[i].Why, GivenUpWhy);
      }
    }
  }
  ForgetCrtcs(Watch.Ramps);
  if (!ownReload) ReadSettings();
}

void LeaveAlone(TDisplayStatus& display, const char* why) {
  display.State = WatchLeftAlone;
  CopyText(display.Why, sizeof display.Why, why);
}

void GiveUp(TDisplayStatus& display) {
  LeaveAlone(display, GivenUpWhy);
  char body[sizeof display.Device + sizeof display.Identity + 160];
  snprintf(body, sizeof body,
           "%s (%s): another program keeps setting its ramp, so Tonewatch leaves it alone until the next display "
           "change, unlock, resume or load run.",
           display.Device, display.Identity);
  NotifyDesktop("Tonewatch stopped watching a display", body);
}

bool StartReapply(int index) {
  const pid_t child = LaunchReapply(Watch.Shown.Displays[index].Identity);
  if (child <= 0) return false;
  // Children are reaped as they end; the pidfd tells when that is.
  Watch.Reapply = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
  Watch.ReapplyIndex = index;
  ++Status.Displays[index].ReloadsToday;
  return true;
}

// One look at every watched display; at most one re-load is started, the
// next display's waits for the look that follows its end.
void Look(uint64_t now) {
  RefreshShown(false);
  CountFromToday();
  bool programsLooked = false, nightLightAsked = false, nightLight = false;
  TRunningPrograms programs;
  uint16_t present[RampEntries];
  for (int i = 0; i < Watch.Shown.Count && Watch.Reapply < 0; ++i) {
    const TShownDisplay& shown = Watch.Shown.Displays[i];
    TDisplayStatus& display = Status.Displays[i];
    if (shown.Curve[0] == '\0' || !shown.HasRamp || Watch.Rules[i].GaveUp) continue;
    if (!ReadPresentRamp(Watch.Ramps, i, shown, present)) continue;
    if (RampShows(present, shown.Ramp)) {
      display.State = WatchLoaded;
      display.Why[0] = '\0';
      continue;
    }
    if (EditingSessionOpen()) {
      LeaveAlone(display, WindowOpenWhy);
      continue;
    }
    if (!programsLooked) programs = LookAtRunningPrograms(Watch.Settings.LeaveAlone);
    programsLooked = true;
    if (programs.TonemarkRuns) continue;  // its ramps are still on their way
    if (programs.LeaveAlone[0] != '\0') {
      char why[sizeof programs.LeaveAlone + 8];
      snprintf(why, sizeof why, "%s runs", programs.LeaveAlone);
      LeaveAlone(display, why);
      continue;
    }
    if (!nightLightAsked) nightLight = DesktopNightLightOn();
    nightLightAsked = true;
    if (nightLight) {
      LeaveAlone(display, NightLightWhy);
      continue;
    }
    if (OnReplaced(Watch.Rules[i], now) == GiveItUp) GiveUp(display);
    else StartReapply(i);
  }
}

void ReapplyEnded(uint64_t now) {
  close(Watch.Reapply);
  Watch.Reapply = -1;
  Watch.ReapplyIndex = -1;
  RefreshShown(true);
  // Any other display waiting for its re-load is looked at now.
  Watch.NextLookAt = now;
}

}  // namespace

const TWatchStatus& CurrentWatchStatus() {
  if (Watch.Seconds == 0) RefreshShown(false);
  return Status;
}

void ChooseWatchSeconds(int32_t watchSeconds) { Watch.ChosenSeconds = watchSeconds; }

void OpenRampWatch() {
  char folder[PATH_MAX];
  if (!FindDataFolder(folder, sizeof folder) || !JoinPath(folder, ShownFileName, Watch.ShownPath, sizeof Watch.ShownPath) ||
      !JoinPath(folder, SettingsFileName, Watch.SettingsPath, sizeof Watch.SettingsPath)) {
    Watch.ShownPath[0] = Watch.SettingsPath[0] = '\0';
  }
  ReadSettings();
  Watch.Seconds = Watch.ChosenSeconds >= 0 ? Watch.ChosenSeconds : Watch.Settings.WatchSeconds;
  if (Watch.Seconds > 0 && getenv(SimVariable) == nullptr && IsWaylandSession()) {
    Watch.Seconds = 0;
    Watch.NotWatchedWhy = WaylandWhy;
  }
  Watch.Day = LocalDay();
  RefreshShown(false);
  if (Watch.Seconds > 0) {
    if (getenv(SimVariable) == nullptr) OpenPresentRamps(Watch.Ramps);
    Watch.NextLookAt = MonotonicMs() + static_cast<uint64_t>(Watch.Seconds) * MillisecondsPerSecond;
  }
  WriteStatusFile(Watch.Seconds, Watch.NotWatchedWhy, Status);
}

void AddRampWatchToPoll(pollfd& slot, int& timeoutMs, uint64_t now) {
  slot = {Watch.Reapply, POLLIN, 0};
  if (Watch.Reapply < 0) WaitNoLaterThan(Watch.NextLookAt, now, timeoutMs);
}

void ProcessRampWatch(const pollfd& slot, uint64_t now, bool loadRunGoing) {
  if (Watch.Reapply >= 0 && slot.revents != 0) ReapplyEnded(now);
  if (Watch.Reapply >= 0 || Watch.NextLookAt > now) return;
  Watch.NextLookAt = now + static_cast<uint64_t>(Watch.Seconds) * MillisecondsPerSecond;
  if (!loadRunGoing) Look(now);
  WriteStatusFile(Watch.Seconds, Watch.NotWatchedWhy, Status);
}

void CloseRampWatch() {
  if (Watch.Reapply >= 0) close(Watch.Reapply);
  Watch.Reapply = -1;
  ClosePresentRamps(Watch.Ramps);
  RemoveStatusFile();
}

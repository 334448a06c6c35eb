#include "loader/linux/ramp_watch.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
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
#include "loader/linux/display_watch.h"
#include "loader/linux/editing_session.h"
#include "loader/linux/launch.h"
#include "loader/linux/present_ramps.h"
#include "loader/linux/running_programs.h"
#include "loader/linux/runtime_folder.h"
#include "loader/linux/status_file.h"
#include "loader/linux/trim_working_set.h"
#include "loader/watch_core.h"

namespace {

constexpr char DefaultLeaveAlone[] = "redshift,gammastep,xflux,xsct";
constexpr char SimVariable[] = "TONEMARK_SIM";
constexpr char WatchOffWhy[] = "the watch is turned off";
constexpr char WaylandWhy[] =
    "a Wayland session: Tonewatch's held gamma controls (wlroots) or the desktop itself keep the calibration";
constexpr size_t LongestFile = 1 << 20;
constexpr uint64_t MillisecondsPerSecond = 1000;
constexpr uint64_t ReapplyCheckMs = 50;

struct TFileStamp {
  timespec Modified = {};
  off_t Size = -1;
  ino_t Node = 0;
};

struct TRampWatch {
  int32_t ChosenSeconds = -1;
  uint64_t NextLookAt = NoDeadline;
  TFileStamp ShownStamp;
  TPresentRamps Ramps;
  int Reapply = -1;  // pidfd of the re-load going on
};

TRampWatch Watch;
TWatchCore Core;
// Apart from Watch, whose initial values would take these into the program's
// data, whose pages stay resident once written.
char ShownPath[PATH_MAX];
char SettingsPath[PATH_MAX];

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
// resident loader no heap; a missing file reads as empty.
template <class Use>
void WithFileText(const char* path, Use use) {
  const int file = open(path, O_RDONLY | O_CLOEXEC);
  struct stat info;
  void* text = MAP_FAILED;
  size_t length = 0;
  if (file >= 0 && fstat(file, &info) == 0 && info.st_size > 0 && info.st_size <= static_cast<off_t>(LongestFile)) {
    length = static_cast<size_t>(info.st_size);
    text = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, file, 0);
  }
  if (file >= 0) close(file);
  if (text == MAP_FAILED) {
    use("", 0);
    return;
  }
  use(static_cast<const char*>(text), length);
  munmap(text, length);
}

void ReadSettings() {
  WithFileText(SettingsPath, [](const char* text, size_t length) {
    ReadWatchSettings(text, length, DefaultLeaveAlone, Core.Settings);
  });
}

// The local day, looked up only once the next local midnight has passed:
// the time-zone code is large, and a look at the ramps must stay small.
int32_t LocalDay() {
  static time_t nextMidnight = 0;
  static int32_t day = 0;
  const time_t now = time(nullptr);
  if (now < nextMidnight) return day;
  struct tm local;
  if (localtime_r(&now, &local) == nullptr) return day;
  day = local.tm_year * 400 + local.tm_yday;
  local.tm_hour = 24;  // mktime carries it into the next day
  local.tm_min = local.tm_sec = 0;
  local.tm_isdst = -1;
  nextMidnight = mktime(&local);
  return day;
}

// Reads Tonemark.shown again when it has changed; a change that is not the
// watch's own re-load is a load run, which may come with new settings.
void RefreshShown(bool ownReload) {
  const TFileStamp stamp = StampOf(ShownPath);
  if (SameStamp(stamp, Watch.ShownStamp)) return;
  Watch.ShownStamp = stamp;
  if (!ownReload) ReadSettings();
  WithFileText(ShownPath,
               [ownReload](const char* text, size_t length) { TakeShownText(Core, text, length, ownReload); });
  ForgetCrtcs(Watch.Ramps);
}

bool ReadRamp(int index, const TShownDisplay& display, uint16_t* ramp) {
  return ReadPresentRamp(Watch.Ramps, index, display, ramp);
}

bool NightLightOn() { return DesktopNightLightOn(); }

void TellGivenUp(const TDisplayStatus& display) {
  char body[sizeof display.Device + sizeof display.Identity + 160];
  snprintf(body, sizeof body,
           "%s (%s): another program keeps setting its ramp, so Tonewatch leaves it alone until the next display "
           "change, unlock, resume or load run.",
           display.Device, display.Identity);
  NotifyDesktop("Tonewatch stopped watching a display", body);
}

bool StartReapply(const char* identity) {
  const pid_t child = LaunchReapply(identity);
  if (child <= 0) return false;
  // Children are reaped as they end; the pidfd tells when that is.
  Watch.Reapply = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
  return true;
}

constexpr TWatchSystem System = {ReadRamp, EditingSessionOpen, LookAtRunningPrograms, NightLightOn, TellGivenUp,
                                 StartReapply};

void WriteStatus() { WriteStatusFile(Core.Seconds, Core.NotWatchedWhy, Core.Status); }

}  // namespace

const TWatchStatus& CurrentWatchStatus() {
  if (Core.Seconds == 0) RefreshShown(false);
  return Core.Status;
}

void ChooseWatchSeconds(int32_t watchSeconds) { Watch.ChosenSeconds = watchSeconds; }

void OpenRampWatch(const TDisplayWatch& display) {
  // The folder goes into SettingsPath first, for want of a buffer of its own on the stack.
  const size_t room = sizeof SettingsPath - sizeof SettingsFileName;
  if (!FindDataFolder(SettingsPath, room) || !JoinPath(SettingsPath, ShownFileName, ShownPath, sizeof ShownPath)) {
    ShownPath[0] = SettingsPath[0] = '\0';
  } else {
    memcpy(SettingsPath + strlen(SettingsPath), SettingsFileName, sizeof SettingsFileName);
  }
  ReadSettings();
  Core.Seconds = Watch.ChosenSeconds >= 0 ? Watch.ChosenSeconds : Core.Settings.WatchSeconds;
  Core.NotWatchedWhy = WatchOffWhy;
  if (Core.Seconds > 0 && getenv(SimVariable) == nullptr && IsWaylandSession()) {
    Core.Seconds = 0;
    Core.NotWatchedWhy = WaylandWhy;
  }
  Core.Day = LocalDay();
  RefreshShown(false);
  if (Core.Seconds > 0) {
    if (getenv(SimVariable) == nullptr) OpenPresentRamps(Watch.Ramps, display);
    Watch.NextLookAt = MonotonicMs() + static_cast<uint64_t>(Core.Seconds) * MillisecondsPerSecond;
  }
  WriteStatus();
}

void AddRampWatchToPoll(int& timeoutMs, uint64_t now) {
  WaitNoLaterThan(Watch.Reapply >= 0 ? now + ReapplyCheckMs : Watch.NextLookAt, now, timeoutMs);
}

int ProcessRampWatch(uint64_t now, bool loadRunGoing, TDisplayWatch& display) {
  pollfd reapply = {Watch.Reapply, POLLIN, 0};
  // A pidfd turns readable when its process ends.
  if (Watch.Reapply >= 0 && poll(&reapply, 1, 0) != 0) {
    close(Watch.Reapply);
    Watch.Reapply = -1;
    RefreshShown(true);
    Watch.NextLookAt = now;  // another display may wait for its re-load
  }
  if (Watch.Reapply >= 0 || Watch.NextLookAt > now) return 0;
  Watch.NextLookAt = now + static_cast<uint64_t>(Core.Seconds) * MillisecondsPerSecond;
  if (!loadRunGoing) {
    RefreshShown(false);
    TakeLocalDay(Core, LocalDay());
    LookAtRamps(Core, System, now);
  }
  WriteStatus();
  const int changes = ProcessDisplayWatch(display);
  // What the look ran (X's client code, the parts of the C library it needs)
  // is not kept resident for the seconds until the next one.
  TrimCodePages();
  return changes;
}

void CloseRampWatch() {
  if (Watch.Reapply >= 0) close(Watch.Reapply);
  Watch.Reapply = -1;
  ClosePresentRamps(Watch.Ramps);
  RemoveStatusFile();
}

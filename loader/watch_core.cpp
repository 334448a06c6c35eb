#include "loader/watch_core.h"

#include <stdio.h>
#include <string.h>

#include "loader/status_text.h"

namespace {

constexpr char WindowOpenWhy[] = "a calibration window is open";
constexpr char NightLightWhy[] = "the desktop's night light is on";
constexpr char GivenUpWhy[] = "replaced 3 times in a row soon after each re-load: another program sets its ramp";

void LeaveAlone(TDisplayStatus& display, const char* why) {
  display.State = WatchLeftAlone;
  CopyText(display.Why, sizeof display.Why, why);
}

}  // namespace

void TakeShownText(TWatchCore& watch, const char* text, size_t length, bool ownReload) {
  // What is kept of each display, by identity: the count and the watch's rules.
  struct TKept {
    char Identity[sizeof(TDisplayStatus::Identity)];
    int32_t ReloadsToday;
    TWatchedDisplay Rules;
  };
  TKept kept[MostWatchedDisplays];
  const int keptCount = watch.Status.Count;
  for (int i = 0; i < keptCount; ++i) {
    memcpy(kept[i].Identity, watch.Status.Displays[i].Identity, sizeof kept[i].Identity);
    kept[i].ReloadsToday = watch.Status.Displays[i].ReloadsToday;
    kept[i].Rules = watch.Rules[i];
  }
  ReadShownText(text, length, watch.Shown);
  StatusFromShown(watch.Shown, watch.Seconds > 0, watch.NotWatchedWhy, watch.Status);
  for (int i = 0; i < watch.Status.Count; ++i) {
    TDisplayStatus& display = watch.Status.Displays[i];
    WatchAgain(watch.Rules[i]);
    for (int j = 0; j < keptCount; ++j) {
      if (strcmp(kept[j].Identity, display.Identity) != 0) continue;
      display.ReloadsToday = kept[j].ReloadsToday;
      if (!ownReload) continue;
      watch.Rules[i] = kept[j].Rules;
      if (kept[j].Rules.GaveUp) LeaveAlone(display, GivenUpWhy);
    }
  }
}

void TakeLocalDay(TWatchCore& watch, int32_t day) {
  if (day == watch.Day) return;
  watch.Day = day;
  for (int i = 0; i < watch.Status.Count; ++i) watch.Status.Displays[i].ReloadsToday = 0;
}

bool LookAtRamps(TWatchCore& watch, const TWatchSystem& system, uint64_t nowMs) {
  bool programsLooked = false, nightLightAsked = false, nightLight = false;
  TRunningPrograms programs;
  uint16_t present[RampEntries];
  for (int i = 0; i < watch.Shown.Count; ++i) {
    const TShownDisplay& shown = watch.Shown.Displays[i];
    TDisplayStatus& display = watch.Status.Displays[i];
    if (shown.Curve[0] == '\0' || !shown.HasRamp || watch.Rules[i].GaveUp) continue;
    if (!system.ReadPresentRamp(i, shown, present)) continue;
    if (RampShows(present, shown.Ramp)) {
      display.State = WatchLoaded;
      display.Why[0] = '\0';
      continue;
    }
    if (system.CalibrationWindowOpen()) {
      LeaveAlone(display, WindowOpenWhy);
      continue;
    }
    if (!programsLooked) programs = system.LookAtRunningPrograms(watch.Settings.LeaveAlone);
    programsLooked = true;
    if (programs.TonemarkRuns) continue;  // its ramps are still on their way
    if (programs.LeaveAlone[0] != '\0') {
      char why[sizeof programs.LeaveAlone + 8];
      snprintf(why, sizeof why, "%s runs", programs.LeaveAlone);
      LeaveAlone(display, why);
      continue;
    }
    if (!nightLightAsked) nightLight = system.NightLightOn();
    nightLightAsked = true;
    if (nightLight) {
      LeaveAlone(display, NightLightWhy);
      continue;
    }
    if (OnReplaced(watch.Rules[i], nowMs) == GiveItUp) {
      LeaveAlone(display, GivenUpWhy);
      system.TellGivenUp(display);
      continue;
    }
    if (!system.StartReapply(shown.Identity)) continue;
    ++display.ReloadsToday;
    return true;
  }
  return false;
}

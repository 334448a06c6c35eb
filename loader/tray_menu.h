// The notification-area icon's menu and tooltip as plain records, built from
// the watch's per-display state and the pause; the Windows menu and the
// session bus's menu both show exactly these entries.
#pragma once

#include <cstddef>
#include <cstdint>

#include "loader/tray_texts.h"
#include "loader/watch_status.h"

enum TTrayCommand : int32_t {
  TrayNoCommand,  // a display's line, which only informs
  TrayReapply,
  TrayPauseHour,
  TrayPauseUntilOn,
  TrayTurnOn,
  TrayCalibrate,
  TrayQuit,
};

constexpr int MostTrayItems = MostWatchedDisplays + 8;
constexpr size_t TrayLabelSize = 528;
constexpr size_t TrayTooltipSize = 200;

struct TTrayItem {
  TTrayCommand Command;
  bool Enabled;
  bool Separator;
  char Label[TrayLabelSize];  // UTF-8, "&" before the access key, "&&" a plain "&"
};

struct TTrayMenu {
  int32_t Count;
  TTrayItem Items[MostTrayItems];
};

struct TTrayState {
  const TWatchStatus* Watch;
  int64_t PausedUntil;  // as TTraySettings has it; 0: none
  int64_t Now;          // seconds since 1970
  TTrayLanguage Language;
};

// Each display with its state, then Re-apply now, the pause's entries (or the
// one that ends it), Calibrate… and Quit.
void BuildTrayMenu(const TTrayState& state, TTrayMenu& menu);

// One line: the pause, else the first display left alone or refusing its
// calibration, else how many displays are calibrated.
void BuildTrayTooltip(const TTrayState& state, char* out, size_t size);

// A label for the session bus's menu, where "_" marks the access key.
void LabelWithUnderscores(const char* label, char* out, size_t size);

// A label without its access-key marks, as a tooltip or a plain list shows it.
void LabelWithoutMarks(const char* label, char* out, size_t size);

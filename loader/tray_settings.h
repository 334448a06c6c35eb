// What the notification-area icon reads from Tonemark's settings file: its
// own section [Tonewatch] with Tray=1 (show the icon) and PausedUntil= (the
// pause: seconds since 1970, UTC, or "forever"), and the language that
// [Settings] names. The file's text comes in; nothing here touches a file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "loader/tray_texts.h"

constexpr char TonewatchSection[] = "Tonewatch";
constexpr char TrayKey[] = "Tray";
constexpr char PausedUntilKey[] = "PausedUntil";
// A pause without an end: until the calibration is turned on again.
constexpr int64_t PausedForever = INT64_MAX;
constexpr int64_t PauseHourSeconds = 3600;

struct TTraySettings {
  bool Tray = false;
  int64_t PausedUntil = 0;  // 0: no pause
  TTrayLanguage Language = TrayEnglish;
};

// `text` is the whole settings file, "" when there is none.
TTraySettings ReadTraySettings(const char* text);

// True while a pause ending at `pausedUntil` holds at `now`.
bool PauseHolds(int64_t pausedUntil, int64_t now);

// The text of PausedUntil= for a pause: "forever", the end's seconds, or ""
// for none.
void FormatPausedUntil(int64_t pausedUntil, char* out, size_t size);

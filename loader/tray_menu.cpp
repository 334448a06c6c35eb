#include "loader/tray_menu.h"

#include <cstdio>
#include <cstring>

#include "loader/tray_settings.h"

namespace {

constexpr int64_t SecondsPerMinute = 60;
constexpr size_t StateSize = 320;

// "&" in text that comes from elsewhere (a reason, a device name) is shown as
// itself, not taken for an access key.
void Escaped(const char* text, char* out, size_t size) {
  size_t length = 0;
  for (const char* at = text; *at != '\0' && length + 2 < size; ++at) {
    if (*at == '&') out[length++] = '&';
    out[length++] = *at;
  }
  if (size > 0) out[length < size ? length : size - 1] = '\0';
}

bool Paused(const TTrayState& state) { return PauseHolds(state.PausedUntil, state.Now); }

void DisplayState(const TTrayState& state, const TDisplayStatus& display, char* out, size_t size) {
  const TTrayLanguage language = state.Language;
  char why[sizeof display.Why * 2];
  Escaped(display.Why, why, sizeof why);
  if (Paused(state) && display.Curve[0] != '\0') {
    snprintf(out, size, "%s", TrayText(language, TextStatePaused));
    return;
  }
  switch (display.State) {
    case WatchNoCurve: snprintf(out, size, "%s", TrayText(language, TextStateNoCurve)); break;
    case WatchLoaded:
      if (display.ReloadsToday > 0) snprintf(out, size, TrayText(language, TextStateReloaded), display.ReloadsToday);
      else snprintf(out, size, "%s", TrayText(language, TextStateLoaded));
      break;
    case WatchLeftAlone: snprintf(out, size, TrayText(language, TextStateLeftAlone), why); break;
    case WatchRefused: snprintf(out, size, TrayText(language, TextStateRefused), why); break;
    default: snprintf(out, size, "%s", TrayText(language, TextStateNotWatched)); break;
  }
}

TTrayItem& NextItem(TTrayMenu& menu, TTrayCommand command, bool enabled) {
  TTrayItem& item = menu.Items[menu.Count++];
  item.Command = command;
  item.Enabled = enabled;
  item.Separator = false;
  item.Label[0] = '\0';
  return item;
}

void AddCommand(TTrayMenu& menu, TTrayCommand command, TTrayText text, TTrayLanguage language, bool enabled) {
  snprintf(NextItem(menu, command, enabled).Label, TrayLabelSize, "%s", TrayText(language, text));
}

void AddSeparator(TTrayMenu& menu) { NextItem(menu, TrayNoCommand, false).Separator = true; }

int WatchedCount(const TTrayState& state) {
  if (state.Watch == nullptr) return 0;
  const int count = state.Watch->Count;
  return count < 0 ? 0 : count > MostWatchedDisplays ? MostWatchedDisplays : count;
}

}  // namespace

void BuildTrayMenu(const TTrayState& state, TTrayMenu& menu) {
  menu.Count = 0;
  const TTrayLanguage language = state.Language;
  const int displays = WatchedCount(state);
  for (int i = 0; i < displays; ++i) {
    const TDisplayStatus& display = state.Watch->Displays[i];
    char name[64], device[sizeof display.Device * 2], status[StateSize];
    snprintf(name, sizeof name, TrayText(language, TextDisplay), i + 1);
    Escaped(display.Device, device, sizeof device);
    DisplayState(state, display, status, sizeof status);
    TTrayItem& item = NextItem(menu, TrayNoCommand, false);
    if (device[0] != '\0') snprintf(item.Label, TrayLabelSize, "%s (%s): %s", name, device, status);
    else snprintf(item.Label, TrayLabelSize, "%s: %s", name, status);
  }
  if (displays > 0) AddSeparator(menu);
  const bool paused = Paused(state);
  AddCommand(menu, TrayReapply, TextReapply, language, !paused);
  if (paused) {
    AddCommand(menu, TrayTurnOn, TextTurnOn, language, true);
  } else {
    AddCommand(menu, TrayPauseHour, TextPauseHour, language, true);
    AddCommand(menu, TrayPauseUntilOn, TextPauseUntilOn, language, true);
  }
  AddSeparator(menu);
  AddCommand(menu, TrayCalibrate, TextCalibrate, language, true);
  AddCommand(menu, TrayQuit, TextQuit, language, true);
}

void BuildTrayTooltip(const TTrayState& state, char* out, size_t size) {
  const TTrayLanguage language = state.Language;
  if (Paused(state)) {
    if (state.PausedUntil == PausedForever) {
      snprintf(out, size, "%s", TrayText(language, TextTipPaused));
    } else {
      // Whole minutes, rounded up: "1 min" until the very end.
      const int64_t minutes = (state.PausedUntil - state.Now + SecondsPerMinute - 1) / SecondsPerMinute;
      snprintf(out, size, TrayText(language, TextTipPausedFor), static_cast<int>(minutes));
    }
    return;
  }
  const int displays = WatchedCount(state);
  int calibrated = 0;
  for (int i = 0; i < displays; ++i) {
    const TDisplayStatus& display = state.Watch->Displays[i];
    if (display.State == WatchLeftAlone) {
      snprintf(out, size, TrayText(language, TextTipLeftAlone), i + 1);
      return;
    }
    if (display.State == WatchRefused) {
      snprintf(out, size, TrayText(language, TextTipRefused), i + 1);
      return;
    }
    if (display.Curve[0] != '\0') ++calibrated;
  }
  if (displays == 0) snprintf(out, size, "%s", TrayText(language, TextTipOn));
  else if (calibrated == 0) snprintf(out, size, "%s", TrayText(language, TextTipNone));
  else if (calibrated == 1) snprintf(out, size, "%s", TrayText(language, TextTipOnOne));
  else snprintf(out, size, TrayText(language, TextTipOnMany), calibrated);
}

void LabelWithUnderscores(const char* label, char* out, size_t size) {
  if (size == 0) return;
  size_t length = 0;
  for (const char* at = label; *at != '\0'; ++at) {
    // What this character becomes: "&x" an access key "_x", "&&" a plain "&",
    // a plain "_" the doubled "__".
    char piece[4] = {*at, '\0', '\0', '\0'};
    if (*at == '&') {
      if (*++at == '\0') break;
      if (*at == '_') memcpy(piece, "___", 3);
      else if (*at != '&') piece[0] = '_', piece[1] = *at;
    } else if (*at == '_') {
      piece[1] = '_';
    }
    const size_t pieceLength = strlen(piece);
    if (length + pieceLength >= size) break;
    memcpy(out + length, piece, pieceLength);
    length += pieceLength;
  }
  out[length] = '\0';
}

void LabelWithoutMarks(const char* label, char* out, size_t size) {
  size_t length = 0;
  for (const char* at = label; *at != '\0' && length + 1 < size; ++at) {
    if (*at == '&' && *++at == '\0') break;
    out[length++] = *at;
  }
  if (size > 0) out[length < size ? length : size - 1] = '\0';
}

#include "loader/tray_settings.h"

#include <cstdio>
#include <cstring>

#include "loader/ini_text.h"

namespace {

constexpr char SettingsSection[] = "Settings";
constexpr char LanguageKey[] = "Language";
constexpr char ForeverValue[] = "forever";
constexpr size_t ValueSize = 64;

// Digits only, as Tonemark writes them; anything else is no pause at all
// rather than a guess.
int64_t ReadPausedUntil(const char* value) {
  if (strcmp(value, ForeverValue) == 0) return PausedForever;
  int64_t seconds = 0;
  for (const char* at = value; *at != '\0'; ++at) {
    if (*at < '0' || *at > '9' || seconds > (PausedForever - 9) / 10) return 0;
    seconds = seconds * 10 + (*at - '0');
  }
  return seconds;
}

}  // namespace

TTraySettings ReadTraySettings(const char* text) {
  TTraySettings settings;
  char value[ValueSize];
  if (FindIniValue(text, TonewatchSection, TrayKey, value, sizeof value)) settings.Tray = strcmp(value, "1") == 0;
  if (FindIniValue(text, TonewatchSection, PausedUntilKey, value, sizeof value))
    settings.PausedUntil = ReadPausedUntil(value);
  if (FindIniValue(text, SettingsSection, LanguageKey, value, sizeof value))
    settings.Language = TrayLanguageNamed(value);
  return settings;
}

bool PauseHolds(int64_t pausedUntil, int64_t now) { return pausedUntil != 0 && now < pausedUntil; }

void FormatPausedUntil(int64_t pausedUntil, char* out, size_t size) {
  if (pausedUntil == PausedForever) snprintf(out, size, "%s", ForeverValue);
  else if (pausedUntil == 0) snprintf(out, size, "%s", "");
  else snprintf(out, size, "%lld", static_cast<long long>(pausedUntil));
}

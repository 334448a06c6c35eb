#include "loader/status_text.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

namespace {

constexpr int64_t SecondsPerDay = 86400;

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(int64_t days, int64_t& year, int& month, int& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

const char* StateText(TWatchState state) {
  switch (state) {
    case WatchNoCurve: return "no curve of its own: never touched";
    case WatchLoaded: return "watched: its calibration shows";
    case WatchLeftAlone: return "left alone";
    case WatchRefused: return "refused its ramp";
    case WatchNotWatched: return "not watched";
  }
  return "";
}

struct TOut {
  char* Text;
  size_t Size;
  size_t Used;
};

void Add(TOut& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Add(TOut& out, const char* format, ...) {
  if (out.Used + 1 >= out.Size) return;
  va_list arguments;
  va_start(arguments, format);
  const int written = vsnprintf(out.Text + out.Used, out.Size - out.Used, format, arguments);
  va_end(arguments);
  if (written > 0) out.Used += static_cast<size_t>(written);
  if (out.Used >= out.Size) out.Used = out.Size - 1;
}

}  // namespace

void CopyText(char* field, size_t size, const char* text) {
  size_t length = strlen(text);
  if (length > size - 1) length = size - 1;
  memcpy(field, text, length);
  field[length] = '\0';
}

void StatusFromShown(const TShownFile& shown, bool watching, const char* notWatchedWhy, TWatchStatus& status) {
  memset(&status, 0, sizeof status);
  status.Count = shown.Count;
  for (int i = 0; i < shown.Count; ++i) {
    const TShownDisplay& from = shown.Displays[i];
    TDisplayStatus& to = status.Displays[i];
    CopyText(to.Identity, sizeof to.Identity, from.Identity);
    CopyText(to.Device, sizeof to.Device, from.Device);
    CopyText(to.Curve, sizeof to.Curve, from.Curve);
    to.LoadedAt = from.Loaded;
    if (from.Curve[0] == '\0') {
      to.State = WatchNoCurve;
    } else if (!from.HasRamp) {
      to.State = WatchRefused;
      CopyText(to.Why, sizeof to.Why, from.Reason[0] != '\0' ? from.Reason : "its ramp could not be read back");
    } else if (!watching) {
      to.State = WatchNotWatched;
      CopyText(to.Why, sizeof to.Why, notWatchedWhy);
    } else {
      to.State = WatchLoaded;
    }
  }
}

void FormatUtc(int64_t seconds, char* text, size_t size) {
  int64_t days = seconds / SecondsPerDay;
  int64_t rest = seconds % SecondsPerDay;
  if (rest < 0) rest += SecondsPerDay, --days;
  int64_t year;
  int month, day;
  CivilFromDays(days, year, month, day);
  snprintf(text, size, "%04lld-%02d-%02d %02d:%02d:%02d UTC", static_cast<long long>(year), month, day,
           static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
}

void FormatWatchStatus(const TWatchStatus& status, bool running, int32_t watchSeconds, char* text, size_t size) {
  TOut out = {text, size, 0};
  text[0] = '\0';
  if (!running) Add(out, "Tonewatch is not running; as the last load run left the displays:\n");
  else if (watchSeconds > 0) Add(out, "Tonewatch is running and looks at the ramps every %d s.\n", static_cast<int>(watchSeconds));
  else Add(out, "Tonewatch is running; its watch does not.\n");
  if (status.Count == 0) Add(out, "No load run has recorded any display yet.\n");
  for (int i = 0; i < status.Count; ++i) {
    const TDisplayStatus& display = status.Displays[i];
    Add(out, "Display %d: %s (%s)\n", i + 1, display.Identity, display.Device);
    Add(out, "  curve: %s\n", display.Curve[0] != '\0' ? display.Curve : "none of its own");
    char loaded[40] = "never";
    if (display.LoadedAt > 0) FormatUtc(display.LoadedAt, loaded, sizeof loaded);
    Add(out, "  last loaded: %s\n", loaded);
    Add(out, "  re-loads today: %d\n", static_cast<int>(display.ReloadsToday));
    Add(out, "  %s%s%s\n", StateText(display.State), display.Why[0] != '\0' ? ": " : "", display.Why);
  }
}

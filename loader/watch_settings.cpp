#include "loader/watch_settings.h"

#include <string.h>

namespace {

constexpr char Section[] = "[Tonewatch]";
constexpr int32_t LongestWatchSeconds = 86400;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(const char* a, size_t length, const char* b) {
  if (strlen(b) != length) return false;
  for (size_t i = 0; i < length; ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void Trim(const char*& start, size_t& length) {
  while (length > 0 && IsBlank(*start)) ++start, --length;
  while (length > 0 && IsBlank(start[length - 1])) --length;
}

// A missing, empty or unreadable value keeps the default; digits are read up
// to the first byte that is not one.
int32_t ReadSeconds(const char* value, size_t length, int32_t fallback) {
  if (length == 0 || value[0] < '0' || value[0] > '9') return fallback;
  int32_t seconds = 0;
  for (size_t i = 0; i < length && value[i] >= '0' && value[i] <= '9'; ++i) {
    seconds = seconds * 10 + (value[i] - '0');
    if (seconds > LongestWatchSeconds) return LongestWatchSeconds;
  }
  return seconds;
}

void Append(TWatchSettings& settings, const char* text, size_t length) {
  size_t used = strlen(settings.LeaveAlone);
  if (length == 0 || used + 1 + length >= sizeof settings.LeaveAlone) return;
  if (used > 0) settings.LeaveAlone[used++] = ',';
  memcpy(settings.LeaveAlone + used, text, length);
  settings.LeaveAlone[used + length] = '\0';
}

}  // namespace

void ReadWatchSettings(const char* text, size_t length, const char* defaults, TWatchSettings& settings) {
  settings = TWatchSettings();
  Append(settings, defaults, strlen(defaults));
  bool inSection = false;
  for (size_t start = 0; start < length;) {
    size_t end = start;
    while (end < length && text[end] != '\n') ++end;
    const char* line = text + start;
    size_t lineLength = end - start;
    start = end + 1;
    if (lineLength > 0 && line[lineLength - 1] == '\r') --lineLength;
    Trim(line, lineLength);
    if (lineLength > 0 && line[0] == '[') {
      inSection = SameText(line, lineLength, Section);
      continue;
    }
    const char* equals = static_cast<const char*>(memchr(line, '=', lineLength));
    if (!inSection || equals == nullptr) continue;
    const char* key = line;
    size_t keyLength = static_cast<size_t>(equals - line);
    const char* value = equals + 1;
    size_t valueLength = lineLength - keyLength - 1;
    Trim(key, keyLength);
    Trim(value, valueLength);
    if (SameText(key, keyLength, "Watch")) settings.WatchSeconds = ReadSeconds(value, valueLength, DefaultWatchSeconds);
    else if (SameText(key, keyLength, "LeaveAlone")) Append(settings, value, valueLength);
  }
}

bool NameInList(const char* name, size_t nameLimit, const char* list) {
  const size_t nameLength = strlen(name);
  if (nameLength == 0) return false;
  for (const char* entry = list; *entry != '\0';) {
    const char* comma = strchr(entry, ',');
    size_t length = comma != nullptr ? static_cast<size_t>(comma - entry) : strlen(entry);
    const char* listed = entry;
    Trim(listed, length);
    entry = comma != nullptr ? comma + 1 : entry + strlen(entry);
    const bool cut = nameLength == nameLimit && length > nameLength;
    if (length == 0 || (length != nameLength && !cut)) continue;
    bool same = true;
    for (size_t i = 0; i < nameLength && same; ++i) same = Lower(name[i]) == Lower(listed[i]);
    if (same) return true;
  }
  return false;
}

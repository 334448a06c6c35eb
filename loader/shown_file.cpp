#include "loader/shown_file.h"

#include <string.h>

namespace {

struct TLine {
  const char* Start;
  size_t Length;
};

bool Equals(const TLine& text, const char* word) {
  return text.Length == strlen(word) && memcmp(text.Start, word, text.Length) == 0;
}

void CopyValue(const TLine& value, char* field, size_t size) {
  size_t length = value.Length < size - 1 ? value.Length : size - 1;
  memcpy(field, value.Start, length);
  field[length] = '\0';
}

int64_t ReadNumber(const TLine& value) {
  int64_t number = 0;
  for (size_t i = 0; i < value.Length && value.Start[i] >= '0' && value.Start[i] <= '9'; ++i) {
    number = number * 10 + (value.Start[i] - '0');
  }
  return number;
}

// Exactly 768 values of 0..65535, separated by blanks; anything else is no ramp.
bool ReadRamp(const TLine& value, uint16_t* ramp) {
  int count = 0;
  size_t i = 0;
  for (;;) {
    while (i < value.Length && value.Start[i] == ' ') ++i;
    if (i == value.Length) break;
    int32_t entry = 0;
    size_t digits = 0;
    for (; i < value.Length && value.Start[i] >= '0' && value.Start[i] <= '9'; ++i, ++digits) {
      entry = entry * 10 + (value.Start[i] - '0');
      if (entry > UINT16_MAX) return false;
    }
    if (digits == 0 || count == RampEntries) return false;
    ramp[count++] = static_cast<uint16_t>(entry);
  }
  return count == RampEntries;
}

void ReadKey(const TLine& key, const TLine& value, TShownDisplay& display) {
  if (Equals(key, "Identity")) CopyValue(value, display.Identity, sizeof display.Identity);
  else if (Equals(key, "Device")) CopyValue(value, display.Device, sizeof display.Device);
  else if (Equals(key, "Backend")) CopyValue(value, display.Backend, sizeof display.Backend);
  else if (Equals(key, "Curve")) CopyValue(value, display.Curve, sizeof display.Curve);
  else if (Equals(key, "Loaded")) display.Loaded = ReadNumber(value);
  else if (Equals(key, "Result")) CopyValue(value, display.Result, sizeof display.Result);
  else if (Equals(key, "Reason")) CopyValue(value, display.Reason, sizeof display.Reason);
  else if (Equals(key, "Ramp")) display.HasRamp = ReadRamp(value, display.Ramp);
}

}  // namespace

void ReadShownText(const char* text, size_t length, TShownFile& shown) {
  shown.Count = 0;
  TShownDisplay* section = nullptr;
  for (size_t start = 0; start < length;) {
    size_t end = start;
    while (end < length && text[end] != '\n') ++end;
    TLine line = {text + start, end - start};
    start = end + 1;
    if (line.Length > 0 && line.Start[line.Length - 1] == '\r') --line.Length;
    if (line.Length > 0 && line.Start[0] == '[') {
      section = nullptr;
      if (shown.Count == MostWatchedDisplays) continue;
      section = &shown.Displays[shown.Count++];
      memset(section, 0, sizeof *section);
      continue;
    }
    const char* equals = static_cast<const char*>(memchr(line.Start, '=', line.Length));
    if (section == nullptr || equals == nullptr) continue;
    TLine key = {line.Start, static_cast<size_t>(equals - line.Start)};
    TLine value = {equals + 1, line.Length - key.Length - 1};
    ReadKey(key, value, *section);
  }
}

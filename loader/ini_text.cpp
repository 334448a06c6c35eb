#include "loader/ini_text.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// One line of the text: [Begin, End) without its line break; Next is where the
// following line starts.
struct TLine {
  const char* Begin;
  const char* End;
  const char* Next;
};

TLine LineAt(const char* at) {
  const char* end = at;
  while (*end != '\0' && *end != '\n') ++end;
  const char* next = *end == '\n' ? end + 1 : end;
  if (end > at && end[-1] == '\r') --end;
  return {at, end, next};
}

void Trim(const char*& begin, const char*& end) {
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
}

bool SameName(const char* begin, const char* end, const char* name) {
  size_t length = strlen(name);
  if (static_cast<size_t>(end - begin) != length) return false;
  for (size_t i = 0; i < length; ++i)
    if (Lower(begin[i]) != Lower(name[i])) return false;
  return true;
}

// A "[name]" line: its name between the brackets.
bool IsSectionLine(const TLine& line, const char*& nameBegin, const char*& nameEnd) {
  const char* begin = line.Begin;
  const char* end = line.End;
  Trim(begin, end);
  if (end - begin < 2 || *begin != '[' || end[-1] != ']') return false;
  nameBegin = begin + 1;
  nameEnd = end - 1;
  Trim(nameBegin, nameEnd);
  return true;
}

// A "key=value" line with this key: where its value starts and ends.
bool IsKeyLine(const TLine& line, const char* key, const char*& valueBegin, const char*& valueEnd) {
  const char* equals = line.Begin;
  while (equals < line.End && *equals != '=') ++equals;
  if (equals == line.End) return false;
  const char* nameBegin = line.Begin;
  const char* nameEnd = equals;
  Trim(nameBegin, nameEnd);
  if (nameBegin < nameEnd && *nameBegin == ';') return false;
  if (!SameName(nameBegin, nameEnd, key)) return false;
  valueBegin = equals + 1;
  valueEnd = line.End;
  Trim(valueBegin, valueEnd);
  return true;
}

// Where things are for a key: its line (or null), and where the section's
// last non-empty line ends (or null without the section).
struct TPlace {
  TLine KeyLine = {nullptr, nullptr, nullptr};
  const char* SectionEnd = nullptr;
};

TPlace FindPlace(const char* text, const char* section, const char* key) {
  TPlace place;
  bool inSection = false;
  for (const char* at = text; *at != '\0';) {
    TLine line = LineAt(at);
    const char *nameBegin, *nameEnd, *valueBegin, *valueEnd;
    if (IsSectionLine(line, nameBegin, nameEnd)) {
      inSection = SameName(nameBegin, nameEnd, section);
      if (inSection && place.SectionEnd == nullptr) place.SectionEnd = line.Next;
    } else if (inSection) {
      if (place.KeyLine.Begin == nullptr && IsKeyLine(line, key, valueBegin, valueEnd)) place.KeyLine = line;
      if (line.End > line.Begin) place.SectionEnd = line.Next;
    }
    at = line.Next;
  }
  return place;
}

// Appends to out[length...]; false when it does not fit.
bool Append(char* out, size_t size, size_t& length, const char* begin, size_t count) {
  if (length + count >= size) return false;
  memcpy(out + length, begin, count);
  length += count;
  out[length] = '\0';
  return true;
}

bool AppendText(char* out, size_t size, size_t& length, const char* text) {
  return Append(out, size, length, text, strlen(text));
}

const char* LineBreakOf(const char* text) {
  const char* first = strchr(text, '\n');
  return first != nullptr && first > text && first[-1] == '\r' ? "\r\n" : "\n";
}

bool AppendKeyLine(char* out, size_t size, size_t& length, const char* key, const char* value,
                   const char* lineBreak) {
  return AppendText(out, size, length, key) && AppendText(out, size, length, "=") &&
         AppendText(out, size, length, value) && AppendText(out, size, length, lineBreak);
}

}  // namespace

bool FindIniValue(const char* text, const char* section, const char* key, char* value, size_t size) {
  TPlace place = FindPlace(text, section, key);
  if (place.KeyLine.Begin == nullptr || size == 0) return false;
  const char *valueBegin, *valueEnd;
  IsKeyLine(place.KeyLine, key, valueBegin, valueEnd);
  size_t length = static_cast<size_t>(valueEnd - valueBegin);
  if (length >= size) length = size - 1;
  memcpy(value, valueBegin, length);
  value[length] = '\0';
  return true;
}

size_t SetIniValue(const char* text, const char* section, const char* key, const char* value, char* out,
                   size_t size) {
  if (size == 0) return 0;
  out[0] = '\0';
  const char* lineBreak = LineBreakOf(text);
  TPlace place = FindPlace(text, section, key);
  size_t length = 0;
  bool fits;
  if (place.KeyLine.Begin != nullptr) {
    fits = Append(out, size, length, text, static_cast<size_t>(place.KeyLine.Begin - text)) &&
           AppendText(out, size, length, key) && AppendText(out, size, length, "=") &&
           AppendText(out, size, length, value) && AppendText(out, size, length, place.KeyLine.End);
  } else if (place.SectionEnd != nullptr) {
    const size_t before = static_cast<size_t>(place.SectionEnd - text);
    // A last line without its line break gets one before the new key.
    const bool broken = before > 0 && text[before - 1] != '\n';
    fits = Append(out, size, length, text, before) && (!broken || AppendText(out, size, length, lineBreak)) &&
           AppendKeyLine(out, size, length, key, value, lineBreak) &&
           AppendText(out, size, length, place.SectionEnd);
  } else {
    const size_t textLength = strlen(text);
    const bool broken = textLength > 0 && text[textLength - 1] != '\n';
    fits = Append(out, size, length, text, textLength) && (!broken || AppendText(out, size, length, lineBreak)) &&
           AppendText(out, size, length, "[") && AppendText(out, size, length, section) &&
           AppendText(out, size, length, "]") && AppendText(out, size, length, lineBreak) &&
           AppendKeyLine(out, size, length, key, value, lineBreak);
  }
  return fits ? length : 0;
}

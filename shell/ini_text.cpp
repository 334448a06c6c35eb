#include "shell/ini_text.h"

#include <string_view>

namespace {

constexpr const char* NewLineEnd = "\r\n";
constexpr char CommentStart = ';';

// The file's lines, each with its own line end ("\r\n", "\n" or none).
std::vector<std::string> RawLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\n', start);
    const size_t next = end == std::string::npos ? text.size() : end + 1;
    lines.push_back(text.substr(start, next - start));
    start = next;
  }
  return lines;
}

std::string_view Content(std::string_view line) {
  if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::string_view LineEnd(std::string_view line) { return line.substr(Content(line).size()); }

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// The name of a "[Section]" line; nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  const std::string_view text = Trimmed(Content(line));
  if (text.empty() || text.front() != '[') return std::nullopt;
  return Trimmed(text.substr(1, text.find(']') - 1));
}

// The key of a "Key=Value" line; a line without "=" is a key without value.
std::optional<std::string_view> KeyName(std::string_view line) {
  const std::string_view text = Trimmed(Content(line));
  if (text.empty() || text.front() == CommentStart || text.front() == '[') return std::nullopt;
  return Trimmed(text.substr(0, text.find('=')));
}

std::string ValueOf(std::string_view line) {
  const std::string_view text = Content(line);
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return "";
  std::string_view value = Trimmed(text.substr(equals + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

struct TSectionLines {
  size_t First;  // the line after the header
  size_t End;    // the next section's header, or the end
};

std::optional<TSectionLines> FindSection(const std::vector<std::string>& lines,
                                        const std::string& section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionName(lines[i]);
    if (!name || !SameName(*name, section)) continue;
    size_t end = i + 1;
    while (end < lines.size() && !SectionName(lines[end])) ++end;
    return TSectionLines{i + 1, end};
  }
  return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<std::string>& lines, TSectionLines range,
                              const std::string& key) {
  for (size_t i = range.First; i < range.End; ++i) {
    const auto name = KeyName(lines[i]);
    if (name && SameName(*name, key)) return i;
  }
  return std::nullopt;
}

// Only a line feed ends a line: a line that a carriage return alone ends
// would run on into whatever follows it.
void EndLastLine(std::vector<std::string>& lines, size_t before) {
  if (before == 0) return;
  std::string& line = lines[before - 1];
  if (line.empty() || line.back() != '\n') line += line.ends_with('\r') ? "\n" : NewLineEnd;
}

void SetValue(std::vector<std::string>& lines, const std::string& section, const std::string& key,
              const std::string& value) {
  const std::string entry = key + "=" + value.substr(0, value.find_first_of("\r\n"));
  const auto range = FindSection(lines, section);
  if (!range) {
    EndLastLine(lines, lines.size());
    if (!lines.empty() && !Trimmed(Content(lines.back())).empty()) lines.push_back(NewLineEnd);
    lines.push_back("[" + section + "]" + NewLineEnd);
    lines.push_back(entry + NewLineEnd);
    return;
  }
  if (const auto line = FindKey(lines, *range, key)) {
    const std::string end(LineEnd(lines[*line]));
    lines[*line] = entry + end;
    return;
  }
  // After the section's last non-blank line, so that a blank line before the
  // next section stays where it is.
  size_t insertAt = range->End;
  while (insertAt > range->First && Trimmed(Content(lines[insertAt - 1])).empty()) --insertAt;
  EndLastLine(lines, insertAt);
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), entry + NewLineEnd);
}

}  // namespace

std::optional<std::string> IniValue(const std::string& text, const std::string& section,
                                    const std::string& key) {
  const std::vector<std::string> lines = RawLines(text);
  const auto range = FindSection(lines, section);
  if (!range) return std::nullopt;
  const auto line = FindKey(lines, *range, key);
  if (!line) return std::nullopt;
  return ValueOf(lines[*line]);
}

std::string WithIniValues(const std::string& text, const std::string& section,
                          const std::vector<std::pair<std::string, std::string>>& values) {
  std::vector<std::string> lines = RawLines(text);
  for (const auto& [key, value] : values) SetValue(lines, section, key, value);
  std::string result;
  for (const std::string& line : lines) result += line;
  return result;
}

// Messages worded from the language files: a key's text with its fields
// filled in, and a message found before the language is loaded, kept as its
// key until it is shown.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "lang/multilang.h"

// The text of `key` with each field ("%r", "%p", …) replaced by its value.
inline std::string Worded(const std::string& key, const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string text = Translate(key);
  for (const auto& [field, value] : fields)
    for (size_t at = text.find(field); at != std::string::npos; at = text.find(field, at + value.size()))
      text.replace(at, field.size(), value);
  return text;
}

// A sentence found before the language is loaded (at discovery): its key and
// the system's own words for its "%r", worded when it is shown.
struct TKeyedText {
  TKeyedText() = default;
  TKeyedText(std::string key, std::string detail = "") : Key(std::move(key)), Detail(std::move(detail)) {}

  std::string Key;
  std::string Detail;  // empty: the system said nothing
  bool Empty() const { return Key.empty(); }
  std::string Text() const {
    return Empty() ? "" : Worded(Key, {{"%r", Detail.empty() ? Translate("MNoAnswer") : Detail}});
  }
};

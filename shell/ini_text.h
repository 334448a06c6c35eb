// The text of an INI file, as Windows' private-profile functions read and
// write it: "[Section]" lines, then "Key=Value" lines. Section and key
// names are matched without regard to letter case; blanks around names and
// values are not part of them.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The value of the first `key` in the first `section`, without surrounding
// blanks or one pair of matching quotes; nullopt when there is none.
std::optional<std::string> IniValue(const std::string& text, const std::string& section,
                                    const std::string& key);

// `text` with each key of `section` set: an existing key's line is replaced,
// a new key follows the section's last entry, a new section goes at the end.
// Every other line keeps its bytes. A value stops at a line break, which the
// format cannot hold.
std::string WithIniValues(const std::string& text, const std::string& section,
                          const std::vector<std::pair<std::string, std::string>>& values);

// Reading and rewriting a whole INI file in the format of ini_text.h, each
// write replacing the file atomically.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The whole file; "" when there is none; nullopt when it cannot be read.
std::optional<std::string> ReadIniFile(const std::string& path);

// Sets each key of `section`, keeping every other line, and replaces the file
// in one step. False, leaving the file as it was, when it cannot be read or
// written.
bool WriteIniFile(const std::string& path, const std::string& section,
                  const std::vector<std::pair<std::string, std::string>>& values);

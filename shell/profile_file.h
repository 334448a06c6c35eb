// Reading and rewriting a whole initialisation file in the profile format of
// profile_text.h, each write replacing the file atomically.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The whole file; "" when there is none; nullopt when it cannot be read.
std::optional<std::string> ReadProfileFile(const std::string& path);

// Sets each key of `section`, keeping every other line, and replaces the file
// in one step. False, leaving the file as it was, when it cannot be read or
// written.
bool WriteProfileFile(const std::string& path, const std::string& section,
                      const std::vector<std::pair<std::string, std::string>>& values);

// The settings file's profile functions on Linux: the same line format as
// Windows' private-profile functions, each write replacing the file
// atomically so that a failed one leaves the previous file.
#include <fstream>
#include <sstream>

#include "platform/linux/shell_profile_text.h"
#include "ramp/atomic_file.h"
#include "ramp/file_error.h"
#include "shell/shell_port.h"

namespace {

// The whole file, or nullopt when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

}  // namespace

namespace ShellPort {

std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& fallback) {
  if (!FileExists(path)) return fallback;
  const auto text = ReadWholeFile(path);
  if (!text) return fallback;
  return ProfileValue(*text, section, key).value_or(fallback);
}

bool WriteProfileStrings(const std::string& path, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& values) {
  std::string text;
  if (FileExists(path)) {
    // Rewriting a file that could not be read would lose its other sections.
    const auto existing = ReadWholeFile(path);
    if (!existing) return false;
    text = *existing;
  }
  try {
    WriteFileAtomically(path, WithProfileValues(text, section, values));
  } catch (const TFileError&) {
    return false;
  }
  return true;
}

}  // namespace ShellPort

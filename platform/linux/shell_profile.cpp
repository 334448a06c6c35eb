// The settings file's profile functions on Linux: the same line format as
// Windows' private-profile functions, each write replacing the file
// atomically so that a failed one leaves the previous file.
#include "shell/profile_file.h"
#include "shell/profile_text.h"
#include "shell/shell_port.h"

namespace ShellPort {

std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& fallback) {
  const auto text = ReadProfileFile(path);
  if (!text) return fallback;
  return ProfileValue(*text, section, key).value_or(fallback);
}

bool WriteProfileStrings(const std::string& path, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& values) {
  return WriteProfileFile(path, section, values);
}

}  // namespace ShellPort

// The settings file's INI functions on Linux: the same line format as
// Windows' private-profile functions, each write replacing the file
// atomically so that a failed one leaves the previous file.
#include "shell/ini_file.h"
#include "shell/ini_text.h"
#include "shell/shell_port.h"

namespace ShellPort {

std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback) {
  const auto text = ReadIniFile(path);
  if (!text) return fallback;
  return IniValue(*text, section, key).value_or(fallback);
}

bool WriteIniStrings(const std::string& path, const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& values) {
  return WriteIniFile(path, section, values);
}

}  // namespace ShellPort

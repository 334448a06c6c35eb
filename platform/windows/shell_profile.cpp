// The settings file on Windows: the system's private-profile functions. They
// rewrite the file in place, key by key, so unlike the Linux writer a write
// that fails half-way can leave the first key written and the second not.
#include <windows.h>

#include "shell/shell_port.h"

namespace {

// The settings values are read into a buffer of this size, terminator included.
constexpr DWORD ProfileBufferSize = 2048;

}  // namespace

namespace ShellPort {

std::string ReadProfileString(const std::string& path, const std::string& section,
                              const std::string& key, const std::string& fallback) {
  char value[ProfileBufferSize] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), value,
                           ProfileBufferSize, path.c_str());
  return value;
}

bool WriteProfileStrings(const std::string& path, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [key, value] : values)
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()))
      return false;
  // Flushes the system's cache of the file; its result says nothing useful.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  return true;
}

}  // namespace ShellPort

// The settings file on Windows: read through the system's private-profile
// functions; written as a whole new file in their format that then replaces
// the old one, so that a failed write leaves the previous file.
#include <windows.h>

#include "shell/ini_file.h"
#include "shell/shell_port.h"

namespace {

// The settings values are read into a buffer of this size, terminator included.
constexpr DWORD ProfileBufferSize = 2048;

// The profile functions keep a file that starts with a UTF-16 byte-order mark
// in UTF-16; only they can change it without breaking it.
bool IsUtf16(const std::string& text) {
  return text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0;
}

bool WriteKeyByKey(const std::string& path, const std::string& section,
                   const std::vector<std::pair<std::string, std::string>>& values) {
  for (const auto& [key, value] : values)
    if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()))
      return false;
  // Flushes the system's cache of the file; its result says nothing useful.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  return true;
}

}  // namespace

namespace ShellPort {

std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback) {
  char value[ProfileBufferSize] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), value,
                           ProfileBufferSize, path.c_str());
  return value;
}

bool WriteIniStrings(const std::string& path, const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& values) {
  const auto text = ReadIniFile(path);
  if (text && IsUtf16(*text)) return WriteKeyByKey(path, section, values);
  return WriteIniFile(path, section, values);
}

}  // namespace ShellPort

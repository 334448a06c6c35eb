#include "loader/windows/settings_file.h"

#include <windows.h>

#include <string>
#include <vector>

#include "loader/ini_text.h"
#include "loader/watch_settings.h"
#include "loader/windows/watch_system.h"

namespace {

// Far more than Tonemark writes; a larger file is not taken for its settings.
constexpr DWORD LongestSettings = 64 * 1024;
constexpr size_t RoomForValue = 512;

std::string SettingsPath() { return DataFolder() + SettingsFileName; }

std::string ReadWhole(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text(LongestSettings, '\0');
  DWORD read = 0;
  if (!ReadFile(file, text.data(), LongestSettings, &read, nullptr)) read = 0;
  CloseHandle(file);
  text.resize(read);
  return text;
}

bool WriteWhole(const std::string& path, const char* text, size_t length) {
  const std::string temporary = path + ".tmp";
  HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool whole = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr) && written == length &&
                     FlushFileBuffers(file);
  CloseHandle(file);
  if (!whole || !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

TTraySettings ReadTraySettingsFile() { return ReadTraySettings(ReadWhole(SettingsPath()).c_str()); }

bool WriteTonewatchSetting(const char* key, const char* value) {
  const std::string path = SettingsPath();
  const std::string text = ReadWhole(path);
  std::vector<char> changed(text.size() + std::string(key).size() + std::string(value).size() + RoomForValue);
  const size_t length = SetIniValue(text.c_str(), TonewatchSection, key, value, changed.data(), changed.size());
  if (length == 0) return false;
  CreateDirectoryA(DataFolder().c_str(), nullptr);  // an installed copy's folder may not exist yet
  return WriteWhole(path, changed.data(), length);
}

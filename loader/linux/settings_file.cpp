#include "loader/linux/settings_file.h"

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "loader/ini_text.h"
#include "loader/linux/data_folder.h"
#include "loader/linux/runtime_folder.h"
#include "loader/watch_settings.h"

namespace {

// Far more than Tonemark writes; a larger file is not taken for its settings.
constexpr size_t LongestSettings = 64 * 1024;
// Room for the one value set on top of what is there.
constexpr size_t RoomForValue = 512;
constexpr mode_t NewFolderMode = 0777;  // narrowed by the umask
constexpr mode_t NewFileMode = 0666;

bool SettingsPath(char* path, size_t size) {
  char folder[PATH_MAX];
  return FindDataFolder(folder, sizeof folder) && JoinPath(folder, SettingsFileName, path, size);
}

// The file's text, terminated, in a buffer with `room` bytes to spare; "" when
// there is no file. The caller frees it; null when memory or the file fails.
char* ReadWhole(const char* path, size_t room, size_t& length) {
  length = 0;
  const int file = open(path, O_RDONLY | O_CLOEXEC);
  char* text = static_cast<char*>(malloc(LongestSettings + room + 1));
  if (text == nullptr) {
    if (file >= 0) close(file);
    return nullptr;
  }
  if (file >= 0) {
    ssize_t got;
    while (length < LongestSettings && (got = read(file, text + length, LongestSettings - length)) > 0)
      length += static_cast<size_t>(got);
    close(file);
  }
  text[length] = '\0';
  return text;
}

// Each missing folder of the path's folder, outermost first.
void MakeFolders(const char* path) {
  char folder[PATH_MAX];
  snprintf(folder, sizeof folder, "%s", path);
  for (char* slash = strchr(folder + 1, '/'); slash != nullptr; slash = strchr(slash + 1, '/')) {
    *slash = '\0';
    mkdir(folder, NewFolderMode);
    *slash = '/';
  }
}

bool WriteWhole(const char* path, const char* text, size_t length) {
  char temporary[PATH_MAX];
  if (snprintf(temporary, sizeof temporary, "%s.%d.tmp", path, static_cast<int>(getpid())) >= PATH_MAX) return false;
  const int file = open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, NewFileMode);
  if (file < 0) return false;
  size_t written = 0;
  ssize_t put;
  while (written < length && (put = write(file, text + written, length - written)) > 0) written += static_cast<size_t>(put);
  const bool whole = written == length && fsync(file) == 0;
  if (close(file) != 0 || !whole || rename(temporary, path) != 0) {
    unlink(temporary);
    return false;
  }
  return true;
}

}  // namespace

TTraySettings ReadTraySettingsFile() {
  char path[PATH_MAX];
  size_t length;
  char* text = SettingsPath(path, sizeof path) ? ReadWhole(path, 0, length) : nullptr;
  if (text == nullptr) return TTraySettings();
  TTraySettings settings = ReadTraySettings(text);
  free(text);
  return settings;
}

bool WriteTonewatchSetting(const char* key, const char* value) {
  char path[PATH_MAX];
  size_t length;
  char* text = SettingsPath(path, sizeof path) ? ReadWhole(path, 0, length) : nullptr;
  if (text == nullptr) return false;
  const size_t size = length + strlen(key) + strlen(value) + RoomForValue;
  char* changed = static_cast<char*>(malloc(size));
  const size_t changedLength =
      changed != nullptr ? SetIniValue(text, TonewatchSection, key, value, changed, size) : 0;
  free(text);
  if (changedLength > 0) MakeFolders(path);
  const bool written = changedLength > 0 && WriteWhole(path, changed, changedLength);
  free(changed);
  return written;
}

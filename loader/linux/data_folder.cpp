#include "loader/linux/data_folder.h"

#include <limits.h>
#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#ifndef TONEMARK_INSTALL_PREFIX
#error "TONEMARK_INSTALL_PREFIX names the configured install prefix"
#endif

namespace {

constexpr char DataSubFolder[] = "Orvana/Tonemark/";

// The next folder name of `path` from `at` on: its start and length; false at the end.
bool NextName(const char*& at, const char*& name, size_t& length) {
  for (;;) {
    while (*at == '/') ++at;
    if (*at == '\0') return false;
    name = at;
    while (*at != '\0' && *at != '/') ++at;
    length = static_cast<size_t>(at - name);
    if (!(length == 1 && name[0] == '.')) return true;
  }
}

const char* ConfigHome(char* buffer, size_t size) {
  const char* config = getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return config;
  const char* home = getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    const passwd* user = getpwuid(getuid());
    home = user != nullptr ? user->pw_dir : nullptr;
  }
  if (home == nullptr || home[0] != '/') return nullptr;
  int length = snprintf(buffer, size, "%s/.config", home);
  return length > 0 && static_cast<size_t>(length) < size ? buffer : nullptr;
}

}  // namespace

bool LiesUnder(const char* folder, const char* parent) {
  if (folder[0] != '/' || parent[0] != '/') return false;
  const char* inner = folder;
  const char* outer = parent;
  const char *innerName, *outerName;
  size_t innerLength, outerLength;
  while (NextName(outer, outerName, outerLength)) {
    if (!NextName(inner, innerName, innerLength) || innerLength != outerLength ||
        memcmp(innerName, outerName, innerLength) != 0) {
      return false;
    }
  }
  return true;
}

bool FindDataFolder(char* folder, size_t size) {
  char own[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", own, sizeof own - 1);
  if (length <= 0) return false;
  own[length] = '\0';
  char* last = strrchr(own, '/');
  if (last == nullptr) return false;
  last[1] = '\0';
  int written;
  if (!LiesUnder(own, TONEMARK_INSTALL_PREFIX)) {
    written = snprintf(folder, size, "%s", own);
  } else {
    char buffer[PATH_MAX];
    const char* config = ConfigHome(buffer, sizeof buffer);
    if (config == nullptr) return false;
    size_t configLength = strlen(config);
    while (configLength > 1 && config[configLength - 1] == '/') --configLength;
    written = snprintf(folder, size, "%.*s/%s", static_cast<int>(configLength), config, DataSubFolder);
  }
  return written > 0 && static_cast<size_t>(written) < size;
}

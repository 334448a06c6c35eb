#include "loader/linux/data_folder.h"

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

// $XDG_CONFIG_HOME, else the home folder's .config; nullptr when neither is known.
const char* ConfigHome(const char*& suffix) {
  const char* config = getenv("XDG_CONFIG_HOME");
  suffix = "";
  if (config != nullptr && config[0] == '/') return config;
  const char* home = getenv("HOME");
  if (home == nullptr || home[0] != '/') {
    const passwd* user = getpwuid(getuid());
    home = user != nullptr ? user->pw_dir : nullptr;
  }
  suffix = "/.config";
  return home != nullptr && home[0] == '/' ? home : nullptr;
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
  // Built in the caller's buffer: the loader's stack stays shallow.
  const ssize_t length = readlink("/proc/self/exe", folder, size - 1);
  if (length <= 0) return false;
  folder[length] = '\0';
  char* last = strrchr(folder, '/');
  if (last == nullptr) return false;
  last[1] = '\0';
  if (!LiesUnder(folder, TONEMARK_INSTALL_PREFIX)) return true;
  const char* suffix;
  const char* config = ConfigHome(suffix);
  if (config == nullptr) return false;
  size_t configLength = strlen(config);
  while (configLength > 1 && config[configLength - 1] == '/') --configLength;
  const int written =
      snprintf(folder, size, "%.*s%s/%s", static_cast<int>(configLength), config, suffix, DataSubFolder);
  return written > 0 && static_cast<size_t>(written) < size;
}

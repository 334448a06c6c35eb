#include "platform/linux/shell_xdg.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace {

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return WithoutTrailingSlashes(home);
  const passwd* user = getpwuid(getuid());
  if (user != nullptr && user->pw_dir != nullptr && user->pw_dir[0] == '/')
    return WithoutTrailingSlashes(user->pw_dir);
  return "";
}

// The variable when it holds an absolute path (the XDG rules ignore a
// relative one), else its default under the home folder.
std::string XdgFolder(const char* variable, const char* defaultUnderHome) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return WithoutTrailingSlashes(value);
  const std::string home = HomeFolder();
  return home.empty() ? "" : home + defaultUnderHome;
}

}  // namespace

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string XdgConfigHome() { return XdgFolder("XDG_CONFIG_HOME", "/.config"); }

std::string XdgDataHome() { return XdgFolder("XDG_DATA_HOME", "/.local/share"); }

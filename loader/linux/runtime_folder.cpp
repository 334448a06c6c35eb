#include "loader/linux/runtime_folder.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char RuntimeFolderVariable[] = "XDG_RUNTIME_DIR";
// Where logind makes each user's runtime folder, and where the variable
// points in every session it sets up.
constexpr char LogindFolderFormat[] = "/run/user/%u";
// /tmp is shared with every user: the folder's name carries the user ID, and
// the sticky bit of /tmp keeps others from renaming or replacing it.
constexpr char FallbackFolderFormat[] = "/tmp/Orvana.Tonewatch-%u";
constexpr mode_t PrivateFolderMode = 0700;
constexpr mode_t OthersAccess = 0077;

// lstat, so that a link is never taken for the folder it points to.
bool IsPrivateFolder(const char* path) {
  struct stat info;
  if (lstat(path, &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & OthersAccess) == 0;
}

// A trailing "/" would make lstat follow a link, so the folder is checked
// without one and handed out with one.
bool TakeFolder(const char* path, char* folder, size_t size) {
  char bare[PATH_MAX];
  size_t length = strlen(path);
  while (length > 1 && path[length - 1] == '/') --length;
  if (length >= sizeof bare) return false;
  memcpy(bare, path, length);
  bare[length] = '\0';
  if (!IsPrivateFolder(bare)) return false;
  return JoinPath(bare, "/", folder, size);
}

}  // namespace

bool JoinPath(const char* folder, const char* name, char* path, size_t size) {
  int length = snprintf(path, size, "%s%s", folder, name);
  return length >= 0 && static_cast<size_t>(length) < size;
}

bool FindRuntimeFolder(char* folder, size_t size, bool create) {
  const char* runtime = getenv(RuntimeFolderVariable);
  if (runtime != nullptr && runtime[0] == '/' && TakeFolder(runtime, folder, size)) return true;

  // Without the variable (a start from cron, su or ssh) the user's folder is
  // still found where the variable would have pointed, so that such a
  // loader meets the lock of the one started at log-on.
  const unsigned user = static_cast<unsigned>(geteuid());
  char logind[PATH_MAX];
  snprintf(logind, sizeof logind, LogindFolderFormat, user);
  if (TakeFolder(logind, folder, size)) return true;

  char fallback[PATH_MAX];
  snprintf(fallback, sizeof fallback, FallbackFolderFormat, user);
  if (create) mkdir(fallback, PrivateFolderMode);
  return TakeFolder(fallback, folder, size);
}

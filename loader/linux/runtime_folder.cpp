#include "loader/linux/runtime_folder.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char RuntimeFolderVariable[] = "XDG_RUNTIME_DIR";
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

  char fallback[PATH_MAX];
  snprintf(fallback, sizeof fallback, FallbackFolderFormat, static_cast<unsigned>(geteuid()));
  if (create) mkdir(fallback, PrivateFolderMode);
  return TakeFolder(fallback, folder, size);
}

#include "loader/linux/editing_session.h"

#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "loader/linux/runtime_folder.h"

namespace {

constexpr char SessionLockName[] = "Orvana.Tonemark.lock";
// The kernel's list of the locks held. Read rather than trying the lock: a
// try, however short, would make a session starting at that moment believe
// that another one is open.
constexpr char LockList[] = "/proc/locks";
constexpr size_t LineSize = 256;

// A line such as "3: FLOCK  ADVISORY  WRITE 2917 00:1a:4711 0 EOF"; a waiter
// for a lock is listed as "3: -> FLOCK ..." and holds nothing.
bool HoldsFlockOn(const char* line, unsigned major, unsigned minor, unsigned long inode) {
  char kind[16];
  unsigned lineMajor, lineMinor;
  unsigned long lineInode;
  int pid;
  char mode[16], access[16];
  return sscanf(line, "%*d: %15s %15s %15s %d %x:%x:%lu", kind, mode, access, &pid, &lineMajor, &lineMinor,
                &lineInode) == 7 &&
         strcmp(kind, "FLOCK") == 0 && lineMajor == major && lineMinor == minor && lineInode == inode;
}

}  // namespace

bool EditingSessionOpen() {
  char folder[PATH_MAX];
  char path[PATH_MAX];
  struct stat lock;
  if (!FindRuntimeFolder(folder, sizeof folder, false) || !JoinPath(folder, SessionLockName, path, sizeof path) ||
      lstat(path, &lock) != 0 || !S_ISREG(lock.st_mode) || lock.st_uid != geteuid()) {
    return false;
  }
  const int list = open(LockList, O_RDONLY | O_CLOEXEC);
  if (list < 0) return false;  // nothing tells: loads go on as they always did
  bool held = false;
  char line[LineSize];
  size_t length = 0;
  char chunk[4096];
  for (ssize_t count; !held && (count = read(list, chunk, sizeof chunk)) > 0;) {
    for (ssize_t i = 0; i < count && !held; ++i) {
      if (chunk[i] != '\n') {
        if (length < LineSize - 1) line[length++] = chunk[i];
        continue;
      }
      line[length] = '\0';
      length = 0;
      held = HoldsFlockOn(line, major(lock.st_dev), minor(lock.st_dev), static_cast<unsigned long>(lock.st_ino));
    }
  }
  close(list);
  return held;
}

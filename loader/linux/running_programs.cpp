#include "loader/linux/running_programs.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "loader/status_text.h"

namespace {

constexpr char TonemarkPrefix[] = "tonemark";
constexpr size_t CommLimit = 15;  // the kernel keeps 15 bytes of a program's name

bool IsNumber(const char* text) {
  if (*text == '\0') return false;
  for (; *text != '\0'; ++text)
    if (*text < '0' || *text > '9') return false;
  return true;
}

bool ReadComm(const char* pid, char* name, size_t size) {
  char path[NAME_MAX + 16];
  snprintf(path, sizeof path, "/proc/%s/comm", pid);
  const int file = open(path, O_RDONLY | O_CLOEXEC);
  if (file < 0) return false;
  const ssize_t length = read(file, name, size - 1);
  close(file);
  if (length <= 0) return false;
  name[length] = '\0';
  if (name[length - 1] == '\n') name[length - 1] = '\0';
  return true;
}

// The file name of the executable; only for the user's own processes.
bool ReadExeName(const char* pid, char* name, size_t size) {
  char path[NAME_MAX + 16];
  char target[PATH_MAX];
  snprintf(path, sizeof path, "/proc/%s/exe", pid);
  const ssize_t length = readlink(path, target, sizeof target - 1);
  if (length <= 0) return false;
  target[length] = '\0';
  const char* slash = strrchr(target, '/');
  CopyText(name, size, slash != nullptr ? slash + 1 : target);
  return true;
}

}  // namespace

TRunningPrograms LookAtRunningPrograms(const char* leaveAloneList) {
  TRunningPrograms found;
  DIR* processes = opendir("/proc");
  if (processes == nullptr) return found;
  while (const dirent* entry = readdir(processes)) {
    if (!IsNumber(entry->d_name)) continue;
    char comm[32];
    if (!ReadComm(entry->d_name, comm, sizeof comm)) continue;
    if (strncmp(comm, TonemarkPrefix, sizeof TonemarkPrefix - 1) == 0) found.TonemarkRuns = true;
    if (found.LeaveAlone[0] != '\0') continue;
    char exe[NAME_MAX + 1];
    if (NameInList(comm, CommLimit, leaveAloneList)) {
      CopyText(found.LeaveAlone, sizeof found.LeaveAlone, comm);
    } else if (ReadExeName(entry->d_name, exe, sizeof exe) && NameInList(exe, sizeof exe, leaveAloneList)) {
      CopyText(found.LeaveAlone, sizeof found.LeaveAlone, exe);
    }
  }
  closedir(processes);
  return found;
}

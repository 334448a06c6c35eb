#include "loader/linux/running_programs.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "loader/status_text.h"

namespace {

constexpr char TonemarkName[] = "tonemark";
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

// The user's own processes only: another user's night-light tool serves
// another session, and its Tonemark loads another user's curves.
bool IsOwnProcess(const char* pid) {
  char path[NAME_MAX + 16];
  snprintf(path, sizeof path, "/proc/%s", pid);
  struct stat info;
  return stat(path, &info) == 0 && info.st_uid == getuid();
}

// The executable's path, readable for the user's own processes.
bool ReadExe(const char* pid, char* target, size_t size) {
  char path[NAME_MAX + 16];
  snprintf(path, sizeof path, "/proc/%s/exe", pid);
  const ssize_t length = readlink(path, target, size - 1);
  if (length <= 0) return false;
  target[length] = '\0';
  return true;
}

// The loader's own folder, where the Tonemark it runs lies.
size_t OwnFolder(char* folder, size_t size) {
  const ssize_t length = readlink("/proc/self/exe", folder, size - 1);
  if (length <= 0) return 0;
  folder[length] = '\0';
  char* slash = strrchr(folder, '/');
  if (slash == nullptr) return 0;
  slash[1] = '\0';
  return static_cast<size_t>(slash + 1 - folder);
}

}  // namespace

TRunningPrograms LookAtRunningPrograms(const char* leaveAloneList) {
  TRunningPrograms found;
  // "<own folder>tonemark": the program itself and whatever lies beside it under that name.
  char tonemark[PATH_MAX];
  const size_t folder = OwnFolder(tonemark, sizeof tonemark);
  if (folder == 0 || folder + sizeof TonemarkName > sizeof tonemark) return found;
  memcpy(tonemark + folder, TonemarkName, sizeof TonemarkName);
  DIR* processes = opendir("/proc");
  if (processes == nullptr) return found;
  while (const dirent* entry = readdir(processes)) {
    char comm[32];
    char exe[PATH_MAX];
    if (!IsNumber(entry->d_name) || !IsOwnProcess(entry->d_name) || !ReadComm(entry->d_name, comm, sizeof comm)) {
      continue;
    }
    const bool hasExe = ReadExe(entry->d_name, exe, sizeof exe);
    if (hasExe && strncmp(exe, tonemark, strlen(tonemark)) == 0) found.TonemarkRuns = true;
    if (found.LeaveAlone[0] != '\0') continue;
    const char* slash = hasExe ? strrchr(exe, '/') : nullptr;
    if (NameInList(comm, CommLimit, leaveAloneList)) {
      CopyText(found.LeaveAlone, sizeof found.LeaveAlone, comm);
    } else if (slash != nullptr && NameInList(slash + 1, sizeof exe, leaveAloneList)) {
      CopyText(found.LeaveAlone, sizeof found.LeaveAlone, slash + 1);
    }
  }
  closedir(processes);
  return found;
}

#include "loader/linux/launch.h"

#include <limits.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "tonemark_version.h"

extern char** environ;

namespace {

constexpr char TonemarkName[] = TONEMARK_PROGRAM;
constexpr char LoadOption[] = TONEMARK_LOAD_ARGUMENT;
constexpr char ReapplyOption[] = "/reapply";

char TonemarkPath[PATH_MAX];

// Up to and including the last "/"; empty when the path has none.
size_t FolderLength(const char* path) {
  const char* last = strrchr(path, '/');
  return last == nullptr ? 0 : static_cast<size_t>(last - path) + 1;
}

pid_t Spawn(char* const arguments[], char* const environment[] = environ) {
  posix_spawnattr_t attributes;
  if (posix_spawnattr_init(&attributes) != 0) return -1;
  // The loader blocks the signals it reads through a descriptor; the
  // calibration program must not inherit that mask.
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  pid_t child;
  const bool started = posix_spawn(&child, TonemarkPath, nullptr, &attributes, arguments, environment) == 0;
  posix_spawnattr_destroy(&attributes);
  return started ? child : -1;
}

}  // namespace

void FindTonemark(const char* argv0) {
  // The executable's own path, as the kernel knows it; argument 0 only when
  // /proc is not there (it may be a bare name found through PATH).
  char ownPath[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", ownPath, sizeof ownPath - 1);
  if (length > 0) {
    ownPath[length] = '\0';
  } else {
    strncpy(ownPath, argv0 != nullptr ? argv0 : "", sizeof ownPath - 1);
    ownPath[sizeof ownPath - 1] = '\0';
  }
  size_t folder = FolderLength(ownPath);
  if (folder + sizeof TonemarkName > sizeof TonemarkPath) folder = 0;
  memcpy(TonemarkPath, ownPath, folder);
  memcpy(TonemarkPath + folder, TonemarkName, sizeof TonemarkName);
}

pid_t LaunchLoadMode() {
  char loadOption[sizeof LoadOption];
  memcpy(loadOption, LoadOption, sizeof LoadOption);
  char* arguments[] = {TonemarkPath, loadOption, nullptr};
  return Spawn(arguments);
}

pid_t LaunchReapply(const char* identity) {
  char loadOption[sizeof LoadOption];
  memcpy(loadOption, LoadOption, sizeof LoadOption);
  char reapplyOption[sizeof ReapplyOption];
  memcpy(reapplyOption, ReapplyOption, sizeof ReapplyOption);
  char* arguments[] = {TonemarkPath, loadOption, reapplyOption, const_cast<char*>(identity), nullptr};
  return Spawn(arguments);
}

pid_t LaunchSafeLoadMode() {
  // The loader's environment with TONEMARK_SAFE=1 in place of any value it had.
  static char safe[] = "TONEMARK_SAFE=1";
  constexpr size_t NameLength = sizeof "TONEMARK_SAFE=" - 1;
  size_t count = 0;
  while (environ[count] != nullptr) ++count;
  char** environment = static_cast<char**>(malloc((count + 2) * sizeof(char*)));
  if (environment == nullptr) return -1;
  size_t kept = 0;
  for (size_t i = 0; i < count; ++i)
    if (strncmp(environ[i], safe, NameLength) != 0) environment[kept++] = environ[i];
  environment[kept++] = safe;
  environment[kept] = nullptr;
  char loadOption[sizeof LoadOption];
  memcpy(loadOption, LoadOption, sizeof LoadOption);
  char* arguments[] = {TonemarkPath, loadOption, nullptr};
  const pid_t child = Spawn(arguments, environment);
  free(environment);
  return child;
}

pid_t LaunchCalibration() {
  char* arguments[] = {TonemarkPath, nullptr};
  return Spawn(arguments);
}

void ReapChildrenAutomatically() {
  // The default action (ignore) with SA_NOCLDWAIT: the kernel collects every
  // child as it ends. exec clears the flag, so tonemark gets the plain default.
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  action.sa_flags = SA_NOCLDWAIT;
  sigemptyset(&action.sa_mask);
  sigaction(SIGCHLD, &action, nullptr);
}

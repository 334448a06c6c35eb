// Opening a document on Linux: xdg-open, and gio open when that fails, in a
// background shell so that the caller never waits for the desktop.
#include <spawn.h>
#include <sys/wait.h>

#include "shell/shell_port.h"

extern char** environ;

namespace {

// The target reaches the commands as "$1", never as shell text.
constexpr const char* OpenScript =
    "(xdg-open \"$1\" || gio open \"$1\") </dev/null >/dev/null 2>&1 &";

}  // namespace

namespace ShellPort {

void OpenDocument(const std::string& target) {
  const char* const arguments[] = {"sh", "-c", OpenScript, "tonemark-open", target.c_str(),
                                   nullptr};
  pid_t shell = 0;
  if (posix_spawn(&shell, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(arguments),
                  environ) != 0)
    return;
  // The shell ends as soon as it has started the background job.
  int status = 0;
  waitpid(shell, &status, 0);
}

}  // namespace ShellPort

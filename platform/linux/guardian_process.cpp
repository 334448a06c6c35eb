#include "platform/linux/guardian_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <vector>

#include "shell/data_folders.h"
#include "tonemark_version.h"

extern char** environ;

namespace {

constexpr const char* OwnExecutable = "/proc/self/exe";
constexpr const char* SmallProgramName = TONEMARK_PROGRAM;
constexpr int EndingSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGSEGV, SIGBUS,
                                 SIGFPE,  SIGILL, SIGABRT, SIGTRAP, SIGSYS};
constexpr int TerminalSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};

// Read by the signal handler: the socket to the guardian, or -1.
std::atomic<int> GuardianSocket{-1};
struct sigaction PreviousActions[std::size(EndingSignals)];

// Async-signal-safe: send, recv and raise only.
void RestoreThenEnd(int signal) {
  const int socket = GuardianSocket.load();
  if (socket >= 0) {
    char byte = GuardianRestoreNow;
    if (send(socket, &byte, 1, MSG_NOSIGNAL) == 1)
      while (recv(socket, &byte, 1, 0) < 0 && errno == EINTR) {
      }
  }
  // SA_RESETHAND has put back the default action: the signal ends the
  // process as it would have, once this handler returns.
  raise(signal);
}

void InstallHandlers() {
  struct sigaction action {};
  action.sa_handler = RestoreThenEnd;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : EndingSignals) sigaddset(&action.sa_mask, signal);
  for (size_t i = 0; i < std::size(EndingSignals); ++i)
    sigaction(EndingSignals[i], &action, &PreviousActions[i]);
}

void RemoveHandlers() {
  for (size_t i = 0; i < std::size(EndingSignals); ++i)
    sigaction(EndingSignals[i], &PreviousActions[i], nullptr);
}

bool SendAll(int socket, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

// The guardian needs no window: started from tonemark-window it is the small
// tonemark beside it, which spares the window's start a second loading of the
// toolkit; this program itself only where that one is missing.
std::string GuardianProgram() {
  const std::string small = ProgramFolder() + SmallProgramName;
  return access(small.c_str(), X_OK) == 0 ? small : OwnExecutable;
}

// The guardian: tonemark again, with the socket as standard input and output,
// standard error quiet, no other descriptor, and a session of its own.
pid_t SpawnGuardian(int socket) {
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_adddup2(&files, socket, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&files, socket, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);

  std::vector<std::string> environment;
  for (char** entry = environ; *entry != nullptr; ++entry)
    if (std::strncmp(*entry, GuardianVariable, std::strlen(GuardianVariable)) != 0)
      environment.emplace_back(*entry);
  environment.push_back(std::string(GuardianVariable) + "=1");
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  char name[] = TONEMARK_PROGRAM;
  char* argv[] = {name, nullptr};

  pid_t pid = -1;
  if (posix_spawn(&pid, GuardianProgram().c_str(), &files, &attributes, argv, envp.data()) != 0) pid = -1;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&files);
  return pid;
}

}  // namespace

TGuardianProcess::~TGuardianProcess() { Release(); }

void TGuardianProcess::Hold(const std::string& savedRamps) {
  Release();
  int sockets[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) return;
  pid_ = SpawnGuardian(sockets[1]);
  close(sockets[1]);
  socket_ = sockets[0];
  if (pid_ < 0 || !SendAll(socket_, savedRamps)) {
    Release();
    return;
  }
  GuardianSocket = socket_;
  InstallHandlers();
}

void TGuardianProcess::Release() {
  if (GuardianSocket.load() == socket_ && socket_ >= 0) {
    RemoveHandlers();
    GuardianSocket = -1;
  }
  if (socket_ >= 0) {
    SendAll(socket_, std::string(1, GuardianRelease));
    close(socket_);
    socket_ = -1;
  }
  // The guardian ends at once on the release, or at the socket's end.
  if (pid_ > 0)
    while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
  pid_ = -1;
}

bool IsGuardianProcess() {
  const char* value = std::getenv(GuardianVariable);
  return value != nullptr && std::strcmp(value, "1") == 0;
}

int RunGuardianProcess() {
  // Outliving the session is the point: signals meant for it, or for its
  // whole session at log-out, leave the guardian to do its work.
  for (int signal : TerminalSignals) ::signal(signal, SIG_IGN);
  ::signal(SIGPIPE, SIG_IGN);
  return RunRampGuardian(std::cin, std::cout);
}

#include "platform/linux/guardian_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <time.h>
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

// A guardian that hangs must not keep a signal from ending the process.
constexpr long GuardianAnswerWaitMs = 2000;

// Read by the signal handler: the socket to the guardian, or -1.
std::atomic<int> GuardianSocket{-1};
struct sigaction PreviousActions[std::size(EndingSignals)];

long MillisecondsSince(const timespec& start) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1'000'000;
}

// Async-signal-safe: send, poll, recv, clock_gettime and raise only.
void RestoreThenEnd(int signal) {
  const int socket = GuardianSocket.load();
  char byte = GuardianRestoreNow;
  if (socket >= 0 && send(socket, &byte, 1, MSG_NOSIGNAL | MSG_DONTWAIT) == 1) {
    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (long waited = 0; waited < GuardianAnswerWaitMs; waited = MillisecondsSince(start)) {
      pollfd answer{socket, POLLIN, 0};
      const int ready = poll(&answer, 1, static_cast<int>(GuardianAnswerWaitMs - waited));
      if (ready < 0 && errno == EINTR) continue;
      if (ready > 0) recv(socket, &byte, 1, MSG_DONTWAIT);
      break;
    }
  }
  // SA_RESETHAND has put back the default action: the signal ends the
  // process as it would have, once this handler returns.
  raise(signal);
}

// A signal that was ignored when the session started (nohup, a background
// job) stays ignored: the user asked for the session to outlive it.
void InstallHandlers() {
  struct sigaction action {};
  action.sa_handler = RestoreThenEnd;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : EndingSignals) sigaddset(&action.sa_mask, signal);
  for (size_t i = 0; i < std::size(EndingSignals); ++i) {
    sigaction(EndingSignals[i], nullptr, &PreviousActions[i]);
    if (PreviousActions[i].sa_handler != SIG_IGN) sigaction(EndingSignals[i], &action, nullptr);
  }
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

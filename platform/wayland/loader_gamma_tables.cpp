#include "platform/wayland/loader_gamma_tables.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "loader/linux/gamma_wire.h"
#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/wlr_gamma_controls.h"
#include "tonemark_version.h"

extern char** environ;

namespace {

constexpr const char* NoLoadOption = "/noload";
constexpr const char* UninstallOption = "/uninstall";
// The loader's control socket, beside its gamma socket.
constexpr const char* ControlSocketName = "Orvana.Tonewatch.socket";
// A loader just started opens its socket once it has the compositor's
// outputs: this long at most.
constexpr int LoaderStartWaitMs = 5000;
constexpr int ConnectRetryMs = 20;
constexpr int AnswerWaitMs = 5000;

std::string RuntimeFile(const char* name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return runtime == nullptr || *runtime == '\0' ? "" : std::string(runtime) + "/" + name;
}

bool IsSocket(const std::string& path) {
  struct stat info;
  return !path.empty() && lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

int ConnectToLoader() {
  const std::string path = RuntimeFile(GammaSocketName);
  if (path.empty()) return -1;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return -1;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connection < 0) return -1;
  if (connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    close(connection);
    return -1;
  }
  return connection;
}

// A loader that runs without its gamma socket has found no compositor with
// gamma control: one started before this session's WAYLAND_DISPLAY was set
// (an autostart run too early) never will. It is asked to close, and waited
// for, so that one started from here, with this process's environment, can
// take its place.
void CloseLoaderWithoutGammaSocket(const std::string& path) {
  if (!IsSocket(RuntimeFile(ControlSocketName)) || IsSocket(RuntimeFile(GammaSocketName))) return;
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  for (int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
    posix_spawn_file_actions_addopen(&files, descriptor, "/dev/null", O_RDWR, 0);
  std::string option = UninstallOption;
  char* arguments[] = {const_cast<char*>(path.c_str()), option.data(), nullptr};
  pid_t child;
  if (posix_spawn(&child, path.c_str(), &files, nullptr, arguments, environ) == 0) waitpid(child, nullptr, 0);
  posix_spawn_file_actions_destroy(&files);
}

// Started in a session of its own, with nothing of this process's output:
// whoever reads this process's output must not wait for the loader's end.
bool StartLoader(const std::string& path) {
  posix_spawn_file_actions_t files;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&files);
  for (int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
    posix_spawn_file_actions_addopen(&files, descriptor, "/dev/null", O_RDWR, 0);
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  std::string option = NoLoadOption;
  char* arguments[] = {const_cast<char*>(path.c_str()), option.data(), nullptr};
  pid_t child;
  const bool started = posix_spawn(&child, path.c_str(), &files, &attributes, arguments, environ) == 0;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&files);
  return started;
}

}  // namespace

std::string LoaderBesideThisProgram() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  const std::string own = length > 0 ? std::string(path, static_cast<size_t>(length)) : "";
  return own.substr(0, own.rfind('/') + 1) + TONEWATCH_PROGRAM;
}

TLoaderGammaTables::TLoaderGammaTables(std::string loaderPath) : loaderPath_(std::move(loaderPath)) {}

TLoaderGammaTables::~TLoaderGammaTables() {
  if (socket_ >= 0) close(socket_);
}

bool TLoaderGammaTables::Connect(bool startLoader) {
  if (socket_ >= 0) return true;
  if (unreachable_) return false;
  socket_ = ConnectToLoader();
  if (socket_ >= 0 || !startLoader) return socket_ >= 0;
  CloseLoaderWithoutGammaSocket(loaderPath_);
  if (StartLoader(loaderPath_))
    for (int waited = 0; socket_ < 0 && waited < LoaderStartWaitMs; waited += ConnectRetryMs) {
      usleep(ConnectRetryMs * 1000);
      socket_ = ConnectToLoader();
    }
  unreachable_ = socket_ < 0;
  return socket_ >= 0;
}

bool TLoaderGammaTables::Ask(char kind, const std::string& output, int file, int32_t& status, uint32_t& size,
                             int* received) {
  if (!Connect(true)) return false;
  TGammaRequest request{};
  request.Kind = kind;
  std::strncpy(request.Output, output.c_str(), sizeof request.Output - 1);
  TGammaAnswer answer{};
  int carried = -1;
  pollfd readable = {socket_, POLLIN, 0};
  const bool answered = SendWithFile(socket_, &request, sizeof request, file) &&
                        poll(&readable, 1, AnswerWaitMs) == 1 &&
                        ReceiveWithFile(socket_, &answer, sizeof answer, carried);
  if (received != nullptr) *received = carried;
  else if (carried >= 0) close(carried);
  if (!answered) {
    // A loader that has ended, or hangs: none from now on.
    close(socket_);
    socket_ = -1;
    unreachable_ = true;
    return false;
  }
  status = answer.Status;
  size = answer.Size;
  return true;
}

uint32_t TLoaderGammaTables::TableSize(const std::string& output, std::string& refusal) {
  const auto known = sizes_.find(output);
  if (known != sizes_.end()) return known->second;
  int32_t status = GammaGone;
  uint32_t size = 0;
  if (!Ask('S', output, -1, status, size)) {
    refusal = LoaderUnreachableReason();
    return 0;
  }
  switch (status) {
    case GammaHeld:
      if (size > 0) return sizes_[output] = size;
      refusal = ControlRefusedReason();  // a control without a table takes nothing
      break;
    case GammaTakenAway: refusal = ControlTakenReason(); break;
    case GammaGone: refusal = OutputGoneReason(); break;
    case GammaEditing: refusal = EditingReason(); break;
    default: refusal = ControlRefusedReason();
  }
  return 0;
}

bool TLoaderGammaTables::SetTable(const std::string& output, const std::vector<uint16_t>& entries) {
  const int file = GammaTableFile(entries);
  if (file < 0) return false;
  int32_t status = GammaGone;
  uint32_t size = 0;
  const bool answered = Ask('T', output, file, status, size);
  close(file);
  if (answered && status == GammaHeld) return true;
  sizes_.erase(output);  // asked again next time, for the reason
  return false;
}

std::vector<uint16_t> TLoaderGammaTables::Table(const std::string& output) {
  int32_t status = GammaGone;
  uint32_t size = 0;
  int file = -1;
  if (!Ask('G', output, -1, status, size, &file) || file < 0) return {};
  std::vector<uint16_t> entries(3 * size_t{size});
  const ssize_t bytes = static_cast<ssize_t>(entries.size() * sizeof(uint16_t));
  const bool read = status == GammaHeld && pread(file, entries.data(), static_cast<size_t>(bytes), 0) == bytes;
  close(file);
  return read ? entries : std::vector<uint16_t>();
}

bool TLoaderGammaTables::ReleaseForSession(bool startLoader) {
  if (!Connect(startLoader)) return false;
  int32_t status = GammaGone;
  uint32_t size = 0;
  return Ask('R', "", -1, status, size);
}

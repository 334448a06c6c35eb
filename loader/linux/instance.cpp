#include "loader/linux/instance.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <string.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "loader/linux/runtime_folder.h"

namespace {

constexpr char LockName[] = "Orvana.Tonewatch.lock";
constexpr char SocketName[] = "Orvana.Tonewatch.socket";
constexpr mode_t PrivateFileMode = 0600;
constexpr mode_t OthersAccess = 0077;
constexpr int ListenBacklog = 4;
// How long "/uninstall" waits for the running loader to end.
constexpr int CloseWaitMs = 5000;

bool SocketAddress(const char* path, sockaddr_un& address) {
  memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  size_t length = strlen(path);
  if (length == 0 || length >= sizeof address.sun_path) return false;
  memcpy(address.sun_path, path, length);
  return true;
}

}  // namespace

bool PeerIsThisUser(int connection) {
  ucred peer;
  socklen_t length = sizeof peer;
  if (getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0) return false;
  return length == sizeof peer && peer.uid == geteuid();
}

bool AcceptWantsResources(int error) {
  return error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM;
}

bool TakeInstanceLock(TLoaderInstance& instance) {
  if (!FindRuntimeFolder(instance.Folder, sizeof instance.Folder, true)) return false;
  char lockPath[PATH_MAX];
  if (!JoinPath(instance.Folder, LockName, lockPath, sizeof lockPath)) return false;
  // O_NOFOLLOW: a link in place of the lock is refused, never followed.
  int lock = open(lockPath, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, PrivateFileMode);
  if (lock < 0) return false;
  struct stat info;
  bool ours = fstat(lock, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid();
  if (!ours || flock(lock, LOCK_EX | LOCK_NB) != 0) {
    close(lock);
    return false;
  }
  if ((info.st_mode & OthersAccess) != 0) fchmod(lock, PrivateFileMode);
  instance.LockFile = lock;
  return true;
}

int ListenOnPrivateSocket(const char* path) {
  sockaddr_un address;
  if (!SocketAddress(path, address)) return -1;
  // Called holding the lock: whatever is there was left by a loader that has
  // ended.
  unlink(path);
  int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener < 0) return -1;
  // The socket file takes its mode from the umask; the calibration program,
  // started later, must still get the user's own umask.
  mode_t userMask = umask(OthersAccess | S_IXUSR);
  int bound = bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  umask(userMask);
  if (bound != 0 || listen(listener, ListenBacklog) != 0) {
    if (bound == 0) unlink(path);
    close(listener);
    return -1;
  }
  return listener;
}

void OpenControlSocket(TLoaderInstance& instance) {
  if (JoinPath(instance.Folder, SocketName, instance.SocketPath, sizeof instance.SocketPath))
    instance.ControlSocket = ListenOnPrivateSocket(instance.SocketPath);
  if (instance.ControlSocket < 0) instance.SocketPath[0] = '\0';
}

void ReleaseInstance(TLoaderInstance& instance) {
  if (instance.ControlSocket >= 0) {
    close(instance.ControlSocket);
    unlink(instance.SocketPath);
    instance.ControlSocket = -1;
  }
  if (instance.LockFile >= 0) {
    close(instance.LockFile);
    instance.LockFile = -1;
  }
}

void CloseRunningLoader() {
  char folder[PATH_MAX];
  char path[PATH_MAX];
  sockaddr_un address;
  if (!FindRuntimeFolder(folder, sizeof folder, false) ||
      !JoinPath(folder, SocketName, path, sizeof path) || !SocketAddress(path, address)) {
    return;
  }
  struct stat info;
  if (lstat(path, &info) != 0 || !S_ISSOCK(info.st_mode) || info.st_uid != geteuid()) return;

  int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connection < 0) return;
  if (connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
      PeerIsThisUser(connection) &&
      send(connection, CloseRequest, CloseRequestLength, MSG_NOSIGNAL) ==
          static_cast<ssize_t>(CloseRequestLength)) {
    // The loader closes the connection once its lock is free, so that a
    // loader started right after "/uninstall" runs normally.
    pollfd closed = {connection, POLLIN, 0};
    char ignored;
    if (poll(&closed, 1, CloseWaitMs) > 0) recv(connection, &ignored, 1, 0);
  }
  close(connection);
}

#include "platform/linux/session_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr const char* LockName = "Orvana.Tonemark.lock";
constexpr const char* SocketName = "Orvana.Tonemark.socket";
constexpr const char* RaiseRequest = "raise";
constexpr mode_t PrivateFileMode = 0600;
constexpr mode_t OthersAccess = 0077;
constexpr int ListenBacklog = 4;

int LockFile = -1;
int Listener = -1;
std::string SocketPath;

// lstat, so that a link is never taken for the folder it points to.
bool IsPrivateFolder(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
         (info.st_mode & OthersAccess) == 0;
}

// $XDG_RUNTIME_DIR, else logind's folder for the user, where the variable
// points in every session it sets up; empty when neither is safe.
std::string RuntimeFolder() {
  const char* variable = std::getenv("XDG_RUNTIME_DIR");
  std::string folder = variable != nullptr ? variable : "";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (!folder.empty() && folder[0] == '/' && IsPrivateFolder(folder)) return folder + "/";
  folder = "/run/user/" + std::to_string(geteuid());
  return IsPrivateFolder(folder) ? folder + "/" : "";
}

bool SocketAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size());
  return true;
}

// Without it the session still runs; only a second start cannot raise it.
void Listen(const std::string& folder) {
  sockaddr_un address;
  SocketPath = folder + SocketName;
  if (!SocketAddress(SocketPath, address)) return;
  unlink(SocketPath.c_str());  // holding the lock, whatever is there was left by an ended session
  const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener < 0) return;
  const mode_t userMask = umask(OthersAccess | S_IXUSR);
  const bool bound = bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  umask(userMask);
  if (!bound || listen(listener, ListenBacklog) != 0) {
    if (bound) unlink(SocketPath.c_str());
    close(listener);
    return;
  }
  Listener = listener;
}

}  // namespace

TUserSessionLock::~TUserSessionLock() {
  if (Listener >= 0) {
    close(Listener);
    unlink(SocketPath.c_str());
    Listener = -1;
  }
  if (LockFile >= 0) close(LockFile);
  LockFile = -1;
}

bool TUserSessionLock::Take() {
  const std::string folder = RuntimeFolder();
  if (folder.empty()) return true;
  // Close-on-exec: tonemark hands its normal mode over to tonemark-window,
  // which takes the lock again as its own.
  const int lock = open((folder + LockName).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, PrivateFileMode);
  if (lock < 0) return true;
  struct stat info;
  const bool ours = fstat(lock, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == geteuid();
  if (!ours) {  // not a lock of ours: no safe place for one
    close(lock);
    return true;
  }
  if (flock(lock, LOCK_EX | LOCK_NB) != 0) {
    close(lock);
    return false;
  }
  LockFile = lock;
  Listen(folder);
  return true;
}

void TUserSessionLock::RaiseHolder() {
  const std::string folder = RuntimeFolder();
  sockaddr_un address;
  struct stat info;
  if (folder.empty() || !SocketAddress(folder + SocketName, address) || lstat(address.sun_path, &info) != 0 ||
      !S_ISSOCK(info.st_mode) || info.st_uid != geteuid())
    return;
  const int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (connection < 0) return;
  if (connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
    send(connection, RaiseRequest, std::strlen(RaiseRequest), MSG_NOSIGNAL);
  close(connection);
}

int SessionRaiseRequests() { return Listener; }

bool AcceptRaiseRequests() {
  bool any = false;
  for (int connection; Listener >= 0 && (connection = accept4(Listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
    close(connection);
    any = true;
  }
  return any;
}

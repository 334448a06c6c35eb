// The loader's single-instance lock and control socket, named after
// "Orvana.Tonewatch" in the user's runtime folder. The lock is an flock, which
// the system releases however the process ends; the socket is how
// "tonewatch /uninstall" asks the running loader to close.
#pragma once

#include <limits.h>
#include <stddef.h>
#include <stdint.h>
#include <sys/un.h>

// What "/uninstall" sends through the control socket.
constexpr char CloseRequest[] = "close";
constexpr size_t CloseRequestLength = sizeof CloseRequest - 1;

struct TLoaderInstance {
  char Folder[PATH_MAX] = {};
  int LockFile = -1;
  int ControlSocket = -1;
  char SocketPath[sizeof(sockaddr_un::sun_path)] = {};
};

// False when another loader holds the lock, or when no safe place for it
// exists: either way this copy must end.
bool TakeInstanceLock(TLoaderInstance& instance);

// Listens on the control socket; without it the loader still runs, it just
// cannot be closed by "/uninstall".
void OpenControlSocket(TLoaderInstance& instance);

// A non-blocking socket listening at `path`, closed to other users; -1 when
// it cannot be made. Replaces whatever is at `path`.
int ListenOnPrivateSocket(const char* path);

// Whether the other end of a connected socket runs as this user.
bool PeerIsThisUser(int connection);

// Whether accept4 failed for want of descriptors or memory: the connection
// then still waits and its listener stays readable, so the listener is left
// out of the wait for this long instead of being polled in a spin.
bool AcceptWantsResources(int error);
constexpr uint64_t ListenPauseMs = 1000;

// Removes the socket and gives up the lock.
void ReleaseInstance(TLoaderInstance& instance);

// "/uninstall": asks the running loader, if any, to close, and waits a
// moment for it to have let go of its lock.
void CloseRunningLoader();

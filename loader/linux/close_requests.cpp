#include "loader/linux/close_requests.h"

#include <errno.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

#include "loader/linux/clock.h"
#include "loader/linux/instance.h"

namespace {

constexpr uint64_t RequestWaitMs = 1000;

void Drop(TWaitingRequest& request) {
  if (request.Connection >= 0) close(request.Connection);
  request = TWaitingRequest();
}

// A free slot, or else the one that has waited longest.
TWaitingRequest& SlotForNewcomer(TCloseRequests& requests) {
  TWaitingRequest* oldest = &requests.Waiting[0];
  for (TWaitingRequest& request : requests.Waiting) {
    if (request.Connection < 0) return request;
    if (request.Deadline < oldest->Deadline) oldest = &request;
  }
  Drop(*oldest);
  return *oldest;
}

void AcceptWaiting(TCloseRequests& requests, uint64_t now) {
  for (;;) {
    int connection = accept4(requests.Listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0) {
      if (AcceptWantsResources(errno)) requests.ListenAgainAt = now + ListenPauseMs;
      return;
    }
    if (!PeerIsThisUser(connection)) {
      close(connection);
      continue;
    }
    TWaitingRequest& slot = SlotForNewcomer(requests);
    slot.Connection = connection;
    slot.Deadline = now + RequestWaitMs;
  }
}

// True once the whole request has arrived; drops a connection that says
// anything else or hangs up first.
bool ReadRequest(TWaitingRequest& request) {
  char bytes[CloseRequestLength];
  ssize_t count = recv(request.Connection, bytes, CloseRequestLength - request.Received, 0);
  if (count < 0 && (errno == EAGAIN || errno == EINTR)) return false;
  if (count <= 0 || memcmp(bytes, CloseRequest + request.Received, static_cast<size_t>(count)) != 0) {
    Drop(request);
    return false;
  }
  request.Received += static_cast<size_t>(count);
  return request.Received == CloseRequestLength;
}

}  // namespace

void AddCloseRequestsToPoll(const TCloseRequests& requests, pollfd* entries, int& timeoutMs,
                            uint64_t now) {
  const bool resting = requests.ListenAgainAt > now;
  entries[0] = {resting ? -1 : requests.Listener, POLLIN, 0};
  if (resting) WaitNoLaterThan(requests.ListenAgainAt, now, timeoutMs);
  for (int i = 0; i < MostWaitingRequests; ++i) {
    const TWaitingRequest& request = requests.Waiting[i];
    entries[i + 1] = {request.Connection, POLLIN, 0};
    if (request.Connection >= 0) WaitNoLaterThan(request.Deadline, now, timeoutMs);
  }
}

int ServeCloseRequests(TCloseRequests& requests, const pollfd* entries, uint64_t now) {
  for (int i = 0; i < MostWaitingRequests; ++i) {
    TWaitingRequest& request = requests.Waiting[i];
    if (request.Connection < 0 || request.Connection != entries[i + 1].fd) continue;
    if (entries[i + 1].revents != 0 && ReadRequest(request)) {
      int connection = request.Connection;
      request = TWaitingRequest();
      return connection;
    }
    if (request.Connection >= 0 && request.Deadline <= now) Drop(request);
  }
  if (entries[0].revents != 0) AcceptWaiting(requests, now);
  return -1;
}

void DropCloseRequests(TCloseRequests& requests) {
  for (TWaitingRequest& request : requests.Waiting) Drop(request);
}

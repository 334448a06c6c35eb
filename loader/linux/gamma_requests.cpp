#include "loader/linux/gamma_requests.h"

#include <errno.h>
#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

#include "loader/linux/clock.h"
#include "loader/linux/instance.h"
#include "loader/linux/runtime_folder.h"

namespace {

void Accept(TGammaRequests& requests, uint64_t now) {
  for (;;) {
    int connection = accept4(requests.Listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0) {
      if (AcceptWantsResources(errno)) requests.ListenAgainAt = now + ListenPauseMs;
      return;
    }
    int* slot = nullptr;
    for (int& client : requests.Clients)
      if (client < 0) slot = &client;
    if (slot == nullptr || !PeerIsThisUser(connection)) {
      close(connection);
      continue;
    }
    *slot = connection;
  }
}

// The request, with the file it carries (-1 when none); false when the
// client hung up or sent less than a request.
bool Receive(int client, TGammaRequest& request, int& file) {
  if (!ReceiveWithFile(client, &request, sizeof request, file)) return false;
  request.Output[sizeof request.Output - 1] = '\0';
  return true;
}

void Answer(int client, const TGammaAnswer& answer, int file) { SendWithFile(client, &answer, sizeof answer, file); }

// False when the client is to be dropped. Only 'T' keeps the file a request
// brings (ShowTable keeps or closes it); any other request's file is closed.
bool Serve(int client, TGammaHolder& holder) {
  TGammaRequest request;
  int file;
  if (!Receive(client, request, file)) return false;
  if (request.Kind == 'T') {
    if (file < 0) return false;
    Answer(client, ShowTable(holder, request.Output, file), -1);
    return true;
  }
  if (file >= 0) close(file);
  switch (request.Kind) {
    case 'S':
      Answer(client, AskForOutput(holder, request.Output), -1);
      return true;
    case 'G': {
      const TGammaAnswer answer = AskForOutput(holder, request.Output);
      Answer(client, answer, ShownTable(holder, request.Output));
      return true;
    }
    case 'R':
      ReleaseOutputs(holder, client);
      Answer(client, {GammaHeld, 0}, -1);
      return true;
    default:
      return false;
  }
}

}  // namespace

void OpenGammaRequests(TGammaRequests& requests, const char* folder) {
  if (JoinPath(folder, GammaSocketName, requests.SocketPath, sizeof requests.SocketPath))
    requests.Listener = ListenOnPrivateSocket(requests.SocketPath);
}

void AddGammaRequestsToPoll(const TGammaRequests& requests, pollfd* entries, int& timeoutMs, uint64_t now) {
  const bool resting = requests.ListenAgainAt > now;
  entries[0] = {resting ? -1 : requests.Listener, POLLIN, 0};
  if (resting) WaitNoLaterThan(requests.ListenAgainAt, now, timeoutMs);
  for (int i = 0; i < MostGammaClients; ++i) entries[i + 1] = {requests.Clients[i], POLLIN, 0};
}

bool ServeGammaRequests(TGammaRequests& requests, TGammaHolder& holder, const pollfd* entries, uint64_t now) {
  bool gone = false;
  for (int i = 0; i < MostGammaClients; ++i) {
    int& client = requests.Clients[i];
    if (client < 0 || client != entries[i + 1].fd || entries[i + 1].revents == 0) continue;
    if (Serve(client, holder)) continue;
    SessionEnded(holder, client, now);
    close(client);
    client = -1;
    gone = true;
  }
  if (entries[0].revents != 0) Accept(requests, now);
  return gone;
}

void CloseGammaRequests(TGammaRequests& requests) {
  for (int& client : requests.Clients) {
    if (client >= 0) close(client);
    client = -1;
  }
  if (requests.Listener >= 0) {
    close(requests.Listener);
    unlink(requests.SocketPath);
  }
  requests.Listener = -1;
}

#include "loader/linux/gamma_requests.h"

#include <string.h>
#include <sys/socket.h>
#include <unistd.h>

#include "loader/linux/instance.h"
#include "loader/linux/runtime_folder.h"

namespace {

constexpr char SocketName[] = "Orvana.Tonewatch.gamma";

void Accept(TGammaRequests& requests) {
  for (;;) {
    int connection = accept4(requests.Listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (connection < 0) return;
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
  file = -1;
  iovec bytes = {&request, sizeof request};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))];
  msghdr message = {};
  message.msg_iov = &bytes;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  ssize_t count = recvmsg(client, &message, MSG_CMSG_CLOEXEC);
  cmsghdr* attached = CMSG_FIRSTHDR(&message);
  if (count > 0 && attached != nullptr && attached->cmsg_type == SCM_RIGHTS)
    memcpy(&file, CMSG_DATA(attached), sizeof file);
  if (count != static_cast<ssize_t>(sizeof request)) {
    if (file >= 0) close(file);
    return false;
  }
  request.Output[sizeof request.Output - 1] = '\0';
  return true;
}

void Answer(int client, const TGammaAnswer& answer, int file) {
  iovec bytes = {const_cast<TGammaAnswer*>(&answer), sizeof answer};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  msghdr message = {};
  message.msg_iov = &bytes;
  message.msg_iovlen = 1;
  if (file >= 0) {
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* attached = CMSG_FIRSTHDR(&message);
    attached->cmsg_level = SOL_SOCKET;
    attached->cmsg_type = SCM_RIGHTS;
    attached->cmsg_len = CMSG_LEN(sizeof file);
    memcpy(CMSG_DATA(attached), &file, sizeof file);
  }
  sendmsg(client, &message, MSG_NOSIGNAL | MSG_DONTWAIT);
}

// False when the client is to be dropped.
bool Serve(int client, TGammaHolder& holder) {
  TGammaRequest request;
  int file;
  if (!Receive(client, request, file)) return false;
  switch (request.Kind) {
    case 'S':
      Answer(client, AskForOutput(holder, request.Output), -1);
      return true;
    case 'T':
      if (file < 0) return false;
      Answer(client, ShowTable(holder, request.Output, file), -1);
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
      if (file >= 0) close(file);
      return false;
  }
}

}  // namespace

void OpenGammaRequests(TGammaRequests& requests, const char* folder) {
  if (JoinPath(folder, SocketName, requests.SocketPath, sizeof requests.SocketPath))
    requests.Listener = ListenOnPrivateSocket(requests.SocketPath);
}

void AddGammaRequestsToPoll(const TGammaRequests& requests, pollfd* entries) {
  entries[0] = {requests.Listener, POLLIN, 0};
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
  if (entries[0].revents != 0) Accept(requests);
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

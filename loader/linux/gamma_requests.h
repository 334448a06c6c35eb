// The loader's gamma socket ("Orvana.Tonewatch.gamma" in the runtime folder,
// beside the control socket): load runs and calibration sessions of this
// user send their tables through it to the outputs whose controls the loader
// holds (gamma_wire.h has the requests). Served without blocking the loop
// on a client: each request is read whole once it has arrived, or the client
// is dropped.
#pragma once

#include <poll.h>
#include <stdint.h>
#include <sys/un.h>

#include "loader/linux/gamma_holder.h"

constexpr int MostGammaClients = 4;

struct TGammaRequests {
  int Listener = -1;
  uint64_t ListenAgainAt = 0;  // out of descriptors: the listener rests until then
  char SocketPath[sizeof(sockaddr_un::sun_path)] = {};
  int Clients[MostGammaClients] = {-1, -1, -1, -1};
};

// Listens in `folder` (ending in "/"); without the socket, the load runs
// report every output as refused.
void OpenGammaRequests(TGammaRequests& requests, const char* folder);

// The listener and the clients, in entries[0 .. MostGammaClients]; shortens
// timeoutMs to the end of the listener's rest.
void AddGammaRequestsToPoll(const TGammaRequests& requests, pollfd* entries, int& timeoutMs, uint64_t now);

// After a poll over those entries. True when a client has gone: the code
// that served it is not needed while the loader waits.
bool ServeGammaRequests(TGammaRequests& requests, TGammaHolder& holder, const pollfd* entries, uint64_t now);

void CloseGammaRequests(TGammaRequests& requests);

// Close requests arriving on the control socket, served without ever
// blocking the loop: connections are accepted non-blocking and wait in a
// small table until they have said "close", said something else, hung up or
// run out of time. A client that connects and says nothing costs a table
// slot for a second, never the loader's attention.
#pragma once

#include <poll.h>
#include <stddef.h>
#include <stdint.h>

constexpr int MostWaitingRequests = 4;

struct TWaitingRequest {
  int Connection = -1;
  uint64_t Deadline = 0;
  size_t Received = 0;
};

struct TCloseRequests {
  int Listener = -1;
  uint64_t ListenAgainAt = 0;  // out of descriptors: the listener rests until then
  TWaitingRequest Waiting[MostWaitingRequests];
};

// The listener and the waiting connections, in entries[0 .. MostWaitingRequests];
// shortens timeoutMs to the earliest deadline (or the end of the listener's
// rest after it ran out of descriptors).
void AddCloseRequestsToPoll(const TCloseRequests& requests, pollfd* entries, int& timeoutMs,
                            uint64_t now);

// Accepts, reads and expires after a poll over those entries. Gives the
// connection of a complete close request from this user, to be closed once
// the lock is released (the asking side waits for that); -1 otherwise.
int ServeCloseRequests(TCloseRequests& requests, const pollfd* entries, uint64_t now);

void DropCloseRequests(TCloseRequests& requests);

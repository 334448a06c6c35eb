// The editing session's lock on Linux: an flock on "Orvana.Tonemark.lock" in
// the user's runtime folder, which the system releases however the process
// ends, and beside it the socket "Orvana.Tonemark.socket", on which the
// holder's window hears a second start ask it to come to the front.
#pragma once

#include "shell/session_lock.h"

class TUserSessionLock : public TSessionLock {
 public:
  ~TUserSessionLock() override;
  // Without a private runtime folder there is no safe place for the lock:
  // the session then runs unguarded, as before.
  bool Take() override;
  void RaiseHolder() override;
};

// The listening socket of the lock this process holds, -1 when it holds none.
// Every connection to it is a request to bring the window to the front.
int SessionRaiseRequests();

// Accepts and closes every connection waiting on the socket; true when there
// was at least one.
bool AcceptRaiseRequests();

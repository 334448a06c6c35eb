// The ramp guardian as a process of its own: tonemark started again with
// TONEMARK_GUARDIAN=1, in a session of its own so that the terminal's signals
// and a kill of the session's process group pass it by, talking with the
// session over a socket pair that ends when the session's process does,
// however it ends (SIGKILL included).
#pragma once

#include <sys/types.h>

#include <string>

#include "ramp/ramp_guardian.h"

inline const char* const GuardianVariable = "TONEMARK_GUARDIAN";

class TGuardianProcess : public TRampGuardian {
 public:
  ~TGuardianProcess() override;
  // Starts the guardian and hands it the ramps; then the signals that end
  // the process (SIGTERM, SIGINT, SIGHUP, SIGQUIT and the crash signals) first
  // have the guardian load the ramps back, and wait until it has (two
  // seconds at most); signals that were ignored stay ignored. Without a
  // guardian (it could not start) the session goes on unguarded.
  void Hold(const std::string& savedRamps) override;
  void Release() override;

 private:
  int socket_ = -1;
  pid_t pid_ = -1;
};

// True in the process started as a guardian.
bool IsGuardianProcess();
// The guardian's life, on the socket that is its standard input and output,
// with the displays port already set. Returns the exit code.
int RunGuardianProcess();

// The ramp guardian as a process of its own: Tonemark.exe started again with
// TONEMARK_GUARDIAN=1, talking with the session through two anonymous pipes,
// whose end tells the guardian that the session's process has gone, however
// it ended (TerminateProcess included).
#pragma once

#include "ramp/ramp_guardian.h"

inline const char* const GuardianVariable = "TONEMARK_GUARDIAN";

class TGuardianProcess : public TRampGuardian {
 public:
  ~TGuardianProcess() override;
  // Starts the guardian and hands it the ramps; then an unhandled exception
  // and the console's close, log-off and shut-down events first have the
  // guardian load the ramps back, and wait until it has (two seconds at
  // most). Without a guardian (it could not start) the session goes on
  // unguarded.
  void Hold(const std::string& savedRamps) override;
  void Release() override;

 private:
  void* toGuardian_ = nullptr;    // HANDLE
  void* fromGuardian_ = nullptr;  // HANDLE
  void* process_ = nullptr;       // HANDLE
};

// True in the process started as a guardian.
bool IsGuardianProcess();
// The guardian's life, on its standard input and output, with the displays
// port already set. Returns the exit code.
int RunGuardianProcess();

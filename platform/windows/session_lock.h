// The editing session's lock on Windows: a named mutex of the user's session,
// held for the life of the process; a second start finds the holder's window
// by its class and brings it to the front.
#pragma once

#include <windows.h>

#include "shell/session_lock.h"

class TWindowsSessionLock : public TSessionLock {
 public:
  ~TWindowsSessionLock() override;
  bool Take() override;
  void RaiseHolder() override;

 private:
  HANDLE mutex_ = nullptr;
};

#include "shell/session_lock.h"

namespace {

class TNoSessionLock : public TSessionLock {
 public:
  bool Take() override { return true; }
  void RaiseHolder() override {}
};

TNoSessionLock NoLock;
TSessionLock* CurrentLock = &NoLock;

}  // namespace

void SetSessionLock(TSessionLock& lock) { CurrentLock = &lock; }

TSessionLock& SessionLock() { return *CurrentLock; }

// One editing session per user at a time. A second one started beside it (a
// double click on the menu entry) would cover it, and then OK in the first
// would write its stale records over the curve files just stored, and Cancel
// would put back ramps that are no longer the stored calibration. So a second
// start in normal mode brings the running window to the front and ends. Load
// mode and "/uninstall" take no lock: they run beside anything.
#pragma once

class TSessionLock {
 public:
  virtual ~TSessionLock() = default;
  // True when this process now holds the lock, which it keeps until it ends;
  // false when another session holds it.
  virtual bool Take() = 0;
  // Asks the session that holds the lock to bring its window to the front.
  virtual void RaiseHolder() = 0;
};

// Each system's main() sets its own; until then every session may run.
void SetSessionLock(TSessionLock& lock);
TSessionLock& SessionLock();

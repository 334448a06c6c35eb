// Messages of load mode, which runs at log-on and resume with nobody reading
// its standard error: each goes there as it comes, and all of them together
// to the desktop in one notification when the run ends.
#pragma once

#include <string>
#include <vector>

#include "ramp/messages_port.h"

class TNotificationMessages : public TMessagesPort {
 public:
  void ShowMessage(const std::string& caption, const std::string& text) override;
  // One desktop notification with every message shown so far, one a line;
  // nothing when there was none.
  void NotifyDesktopOfAll();

 private:
  std::vector<std::string> shown_;
};

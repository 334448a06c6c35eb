// Messages in the system's message box, as the desktop's programs show them.
#pragma once

#include "ramp/messages_port.h"

class TMessageBoxes : public TMessagesPort {
 public:
  void ShowMessage(const std::string& caption, const std::string& text) override;
};

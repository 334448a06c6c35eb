#include "ramp/messages_port.h"

#include <iostream>

namespace {
TStreamMessages StandardError(std::cerr);
TMessagesPort* CurrentPort = &StandardError;
}  // namespace

void TStreamMessages::ShowMessage(const std::string& caption, const std::string& text) {
  stream_ << caption << ": " << text << std::endl;
}

void SetMessagesPort(TMessagesPort& port) { CurrentPort = &port; }

TMessagesPort& MessagesPort() { return *CurrentPort; }

#include "ramp/displays_port.h"

#include <chrono>
#include <iostream>
#include <thread>

#include "ramp/no_displays.h"

namespace {
TNoDisplays NoDisplays;
TDisplaysPort* CurrentPort = &NoDisplays;
}  // namespace

void SetDisplaysPort(TDisplaysPort& port) { CurrentPort = &port; }

TDisplaysPort& DisplaysPort() { return *CurrentPort; }

void TNoDisplays::Wait(int32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void TNoDisplays::ShowMessage(const std::string& caption, const std::string& text) {
  std::cerr << caption << ": " << text << std::endl;
}

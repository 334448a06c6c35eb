#include "ramp/displays_port.h"

#include <chrono>
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

// What both Linux programs of Tonemark do first.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_displays.h"
#include "ramp/displays_port.h"

// Names the loader beside the program and returns the arguments, argument 0
// being the program's own path even when the shell found it on the PATH.
std::vector<std::string> StartLinuxProgram(int argc, char** argv);

// The simulated displays when TONEMARK_SIM is set, else the real ones.
template <typename RealDisplays>
std::unique_ptr<TDisplaysPort> ChosenDisplays() {
  std::unique_ptr<TDisplaysPort> displays = SimDisplaysFromEnvironment();
  if (!displays) displays = std::make_unique<RealDisplays>();
  return displays;
}

// tonemark on Linux: the simulated displays when TONEMARK_SIM is set, else
// the X server's RandR outputs; messages on standard error. Normal mode runs
// the scripted view when TONEMARK_SCRIPT is set, else the native window in a
// program of its own (native_session.cpp).
#include <iostream>

#include "platform/linux/program_start.h"
#include "platform/linux/randr_displays.h"
#include "platform/native_session.h"
#include "platform/script/script_view.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = StartLinuxProgram(argc, argv);
  std::unique_ptr<TDisplaysPort> displays = ChosenDisplays<TRandrDisplays>();
  TStreamMessages standardError(std::cerr);
  return RunLinuxProgram(args, *displays, standardError, [] {
    if (ScriptedSessionRequested()) RunScriptedSession(std::cin, std::cout, nullptr);
    else RunNativeSession(nullptr);
  });
}

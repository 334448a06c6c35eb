// tonemark on Linux: the simulated displays when TONEMARK_SIM is set, else
// the display back-end that the session calls for; messages on standard
// error. Normal mode runs the scripted view when TONEMARK_SCRIPT is set, else
// the native window in a program of its own (window_program.h). Where the
// desktop keeps the calibration from profiles, load mode writes those that
// are missing.
#include <iostream>

#include "platform/linux/lcms2_on_demand.h"
#include "platform/linux/program_start.h"
#include "platform/linux/randr_displays.h"
#include "platform/linux/window_program.h"
#include "platform/native_session.h"
#include "platform/script/script_view.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = StartLinuxProgram(argc, argv);
  // The window's program discovers the displays and reads the settings and
  // languages itself: handed the run first, it is not kept waiting for a
  // first round of all that. Without it, the run takes the long way, which
  // reports the missing displays before the missing program.
  if (RunOpensNativeWindow(args)) StartWindowProgram(args);

  std::unique_ptr<TDisplaysPort> displays = ChosenDisplays<TRandrDisplays>();
  TStreamMessages standardError(std::cerr);
  return RunLinuxProgram(args, *displays, standardError, [] {
    if (ScriptedSessionRequested()) RunScriptedSession(std::cin, std::cout, nullptr);
    else RunNativeSession(nullptr);
  }, CalibrationProfileOnDemand);
}

// tonemark on Linux: the simulated displays when TONEMARK_SIM is set, else
// the X server's RandR outputs. Normal mode runs in tonemark-window.
#include <iostream>

#include "platform/linux/program_start.h"
#include "platform/linux/randr_displays.h"
#include "platform/linux/window_program.h"
#include "shell/program_entry.h"
#include "ui/script_view.h"

int main(int argc, char** argv) {
  std::unique_ptr<TDisplaysPort> displays = ChosenDisplays<TRandrDisplays>();
  SetDisplaysPort(*displays);
  return ProgramEntry(StartLinuxProgram(argc, argv), [] {
    if (std::getenv("TONEMARK_SCRIPT")) RunScriptedSession(std::cin, std::cout, nullptr);
    else StartWindowProgram();
  });
}

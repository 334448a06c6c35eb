// tonemark on Linux: the simulated displays when TONEMARK_SIM is set, else
// the X server's RandR outputs.
#include <unistd.h>

#include <climits>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/randr_displays.h"
#include "platform/sim/sim_displays.h"
#include "shell/prepare_run.h"
#include "shell/program_entry.h"
#include "ui/script_view.h"

namespace {

// The program folder must be known even when the shell found tonemark on
// the PATH and argument 0 is a bare name.
std::string OwnExecutablePath(const std::string& argument0) {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, length) : argument0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  if (args.empty()) args.emplace_back();
  args[0] = OwnExecutablePath(args[0]);
  LoaderFileName = "tonewatch";

  std::unique_ptr<TDisplaysPort> displays = SimDisplaysFromEnvironment();
  if (!displays) displays = std::make_unique<TRandrDisplays>();
  SetDisplaysPort(*displays);
  // Until the native window is part of the build, normal mode runs the
  // window's logic from a script of user actions on standard input.
  return ProgramEntry(args, [] { RunScriptedSession(std::cin, std::cout, nullptr); });
}

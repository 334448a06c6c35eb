// tonemark on Linux: the simulated displays when TONEMARK_SIM is set, else
// the X server's RandR outputs; in normal mode the scripted view when
// TONEMARK_SCRIPT is set, else the native window.
#include <unistd.h>

#include <climits>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/randr_displays.h"
#include "platform/native_session.h"
#include "platform/script/script_view.h"
#include "platform/sim/sim_displays.h"
#include "shell/prepare_run.h"
#include "shell/program_entry.h"

namespace {

// The program folder must be known even when the shell found tonemark on
// the PATH and argument 0 is a bare name.
std::string OwnExecutablePath(const std::string& argument0) {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, length) : argument0;
}

// Normal mode: the scripted view under TONEMARK_SCRIPT, else the native window.
void RunWindowSession() {
  if (ScriptedSessionRequested()) RunScriptedSession(std::cin, std::cout, nullptr);
  else RunNativeSession(nullptr);
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
  return ProgramEntry(args, RunWindowSession);
}

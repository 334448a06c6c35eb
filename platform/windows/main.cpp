// Tonemark.exe: the simulated displays when TONEMARK_SIM is set, else the
// desktop's own through GDI.
#include <windows.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_displays.h"
#include "platform/windows/display_gdi.h"
#include "platform/windows/guardian_process.h"
#include "shell/prepare_run.h"
#include "shell/program_entry.h"
#include "ui/script_view.h"

namespace {

// Argument 0 is whatever the starting program wrote; the module's own path
// always names the program folder.
std::string OwnExecutablePath(const std::string& argument0) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path, length) : argument0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  if (args.empty()) args.emplace_back();
  args[0] = OwnExecutablePath(args[0]);
  LoaderFileName = "Tonewatch.exe";

  std::unique_ptr<TDisplaysPort> displays = SimDisplaysFromEnvironment();
  if (!displays) displays = std::make_unique<TGdiDisplays>();
  SetDisplaysPort(*displays);
  if (IsGuardianProcess()) return RunGuardianProcess();

  TGuardianProcess guardian;
  SetRampGuardian(guardian);
  // Until the native window is part of the build, normal mode runs the
  // window's logic from a script of user actions on standard input.
  return ProgramEntry(args, [] { RunScriptedSession(std::cin, std::cout, nullptr); });
}

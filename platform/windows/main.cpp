// Tonemark.exe: the simulated displays when TONEMARK_SIM is set, else the
// desktop's own through GDI; in normal mode the scripted view when
// TONEMARK_SCRIPT is set, else the native window.
#include <windows.h>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/native_session.h"
#include "platform/script/script_view.h"
#include "platform/sim/sim_displays.h"
#include "platform/windows/display_gdi.h"
#include "shell/prepare_run.h"
#include "shell/program_entry.h"

namespace {

// Argument 0 is whatever the starting program wrote; the module's own path
// always names the program folder.
std::string OwnExecutablePath(const std::string& argument0) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path, length) : argument0;
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
  LoaderFileName = "Tonewatch.exe";

  std::unique_ptr<TDisplaysPort> displays = SimDisplaysFromEnvironment();
  if (!displays) displays = std::make_unique<TGdiDisplays>();
  SetDisplaysPort(*displays);
  return ProgramEntry(args, RunWindowSession);
}

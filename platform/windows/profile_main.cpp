// TonemarkProfile.exe, a console program: the simulated displays when
// TONEMARK_SIM is set, else the desktop's own through GDI, whose failures
// show in message boxes.
#include <windows.h>

#include <iostream>
#include <memory>

#include "platform/sim/sim_displays.h"
#include "platform/windows/display_gdi.h"
#include "platform/windows/message_boxes.h"
#include "platform/windows/profile_install.h"
#include "profile/profile_program.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  if (args.empty()) args.emplace_back();
  // The data folder follows the module's own path, whatever argument 0 says.
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) args[0].assign(path, length);

  std::unique_ptr<TDisplaysPort> displays = SimDisplaysFromEnvironment();
  TMessageBoxes messageBoxes;
  if (!displays) {
    displays = std::make_unique<TGdiDisplays>();
    SetMessagesPort(messageBoxes);
  }
  SetDisplaysPort(*displays);
  TWindowsProfileInstaller installer;
  return ProfileProgram(args, installer, std::cout, std::cerr);
}

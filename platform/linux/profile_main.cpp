// tonemark-profile on Linux: the displays of the back-end that the session
// calls for (display_backends.h): the simulated displays when TONEMARK_SIM is
// set, a Wayland desktop's outputs, else the X server's RandR outputs.
#include <unistd.h>

#include <climits>
#include <iostream>
#include <memory>

#include "platform/linux/profile_install.h"
#include "platform/linux/randr_displays.h"
#include "platform/wayland/display_backends.h"
#include "profile/profile_program.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  if (args.empty()) args.emplace_back();
  // The data folder follows the executable, also when found on the PATH.
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length > 0) args[0].assign(path, length);

  std::unique_ptr<TDisplaysPort> displays =
      ChooseLinuxDisplays([] { return std::make_unique<TRandrDisplays>(); });
  SetDisplaysPort(*displays);
  TLinuxProfileInstaller installer;
  return ProfileProgram(args, installer, std::cout, std::cerr);
}

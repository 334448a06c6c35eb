// tonemark's native session is tonemark-window's: normal mode hands the run
// over to it.
#include "platform/linux/window_program.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/native_session.h"
#include "shell/command_line.h"
#include "shell/data_folders.h"
#include "tonemark_version.h"

namespace {

// A window frame is a whole screen's pixels (33 MB at 3840 x 2160): in
// transparent huge pages its first frame takes a few page faults, not eight
// thousand. A setting of the user's own stays.
constexpr const char* MallocTunables = "glibc.malloc.hugetlb=1";

std::string WindowProgramPath(const std::vector<std::string>& args) {
  return (args.empty() ? std::string() : FolderOf(args[0])) + TONEMARK_WINDOW_PROGRAM;
}

}  // namespace

void StartWindowProgram(const std::vector<std::string>& args) {
  const std::string program = WindowProgramPath(args);
  std::vector<std::string> arguments = args;
  if (arguments.empty()) arguments.emplace_back();
  arguments[0] = program;
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  setenv("GLIBC_TUNABLES", MallocTunables, 0);
  execv(program.c_str(), argv.data());
}

void RunNativeSession(TImageDecoder*) {
  StartWindowProgram(CommandLineArgs);
  throw std::runtime_error("The calibration window cannot be started: " + WindowProgramPath(CommandLineArgs) +
                           ": " + std::strerror(errno));
}

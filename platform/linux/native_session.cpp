// tonemark's window lives in a program of its own beside it, tonemark-window,
// which links the toolkit: load mode, which runs at every log-on and resume,
// then never pays for loading it. Normal mode hands the run over to it, with
// the same arguments and environment.
#include "platform/native_session.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/command_line.h"
#include "shell/data_folders.h"
#include "tonemark_version.h"

namespace {

constexpr const char* WindowProgramName = TONEMARK_WINDOW_PROGRAM;
// A window frame is a whole screen's pixels (33 MB at 3840 x 2160): in
// transparent huge pages its first frame takes a few page faults, not eight
// thousand. A setting of the user's own stays.
constexpr const char* MallocTunables = "glibc.malloc.hugetlb=1";

}  // namespace

void RunNativeSession(TImageDecoder*) {
  const std::string program = ProgramFolder() + WindowProgramName;
  std::vector<std::string> args = CommandLineArgs;
  if (args.empty()) args.emplace_back();
  args[0] = program;
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  setenv("GLIBC_TUNABLES", MallocTunables, 0);
  execv(program.c_str(), argv.data());
  throw std::runtime_error("The calibration window cannot be started: " + program + ": " + std::strerror(errno));
}

#include "platform/linux/program_start.h"

#include <unistd.h>

#include <climits>

#include "shell/prepare_run.h"

namespace {

constexpr const char* LoaderProgram = "tonewatch";

std::string OwnExecutablePath(const std::string& argument0) {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, length) : argument0;
}

}  // namespace

std::vector<std::string> StartLinuxProgram(int argc, char** argv) {
  LoaderFileName = LoaderProgram;
  std::vector<std::string> args(argv, argv + argc);
  if (args.empty()) args.emplace_back();
  args[0] = OwnExecutablePath(args[0]);
  return args;
}

// Kept apart from the rules so that a loader using only main()'s arguments
// links nothing of std::string.
#include "loader/command_line.h"

TLoaderOptions ParseLoaderCommandLine(const std::vector<std::string>& args) {
  const char* argv[3] = {"", nullptr, nullptr};
  int argc = 1;
  for (size_t i = 0; i < args.size() && argc < 3; ++i) argv[argc++] = args[i].c_str();
  return ParseLoaderArguments(argc, argv);
}

// Kept apart from the rules so that a loader using only main()'s arguments
// links nothing of std::string.
#include "loader/command_line.h"

TLoaderOptions ParseLoaderCommandLine(const std::vector<std::string>& args) {
  std::vector<const char*> argv = {""};
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  return ParseLoaderArguments(static_cast<int>(argv.size()), argv.data());
}

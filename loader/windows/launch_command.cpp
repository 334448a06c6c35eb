#include "loader/windows/launch_command.h"

#include "tonemark_version.h"

namespace {
constexpr const char* CalibrationProgram = TONEMARK_PROGRAM;
constexpr const char* LoadModeArgument = TONEMARK_LOAD_ARGUMENT;
}  // namespace

std::string FolderOfPath(const std::string& programPath) {
  const size_t last = programPath.find_last_of("\\/");
  return last == std::string::npos ? std::string() : programPath.substr(0, last + 1);
}

std::string LoadModeCommandLine(const std::string& loaderFolder) {
  return "\"" + loaderFolder + CalibrationProgram + "\" " + LoadModeArgument;
}

// Tonewatch's command line: "/uninstall" closes a running loader; "/delay N"
// sets the delay of the second launch in seconds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t DefaultDelayMs = 10000;

struct LoaderOptions {
  bool Uninstall = false;
  int32_t DelayMs = DefaultDelayMs;
};

// args excludes the program path.
LoaderOptions ParseLoaderCommandLine(const std::vector<std::string>& args);

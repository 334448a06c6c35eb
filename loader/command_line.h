// Tonewatch's command line: "/uninstall" closes a running loader; "/delay N"
// sets the delay of the second launch in seconds; "/noload" leaves out the
// launch at start, for a load mode that starts the loader and loads itself;
// "/watch N" looks at the ramps every N seconds (0: not at all) instead of
// what the settings say; "/status" prints the watch's state. Only the first two
// arguments count, each compared whole, byte for byte; but "/tray" and "/notray", which show or
// hide the notification-area icon for this run whatever the settings say, count anywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t DefaultDelayMs = 10000;

enum TTrayChoice { TrayAsSettingsSay, TrayShown, TrayHidden };

struct TLoaderOptions {
  bool Uninstall = false;
  int32_t DelayMs = DefaultDelayMs;
  bool LoadAtStart = true;
  TTrayChoice Tray = TrayAsSettingsSay;
  int32_t WatchSeconds = -1;  // -1: as the settings say
  bool Status = false;
};

// args excludes the program path.
TLoaderOptions ParseLoaderCommandLine(const std::vector<std::string>& args);

// The same rules over main()'s own argc/argv (argv[0] is the program path),
// for a loader that keeps clear of the C++ runtime library to stay small.
TLoaderOptions ParseLoaderArguments(int argc, const char* const* argv);

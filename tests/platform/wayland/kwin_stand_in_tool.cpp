// kwin_stand_in FOLDER [--management VERSION] CONNECTOR[=PROFILE] ...: the
// stand-in compositor with KWin's output management (version 14 unless
// given) for end-to-end scripts, each output's profile assigned as given.
// Writes FOLDER/socket (the path for WAYLAND_DISPLAY) once it serves and
// keeps FOLDER/profiles ("<output> <source> <path>" a line) as KWin's; at
// SIGTERM writes FOLDER/applies (one configuration a line) and ends.
#include <signal.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/platform/wayland/stand_in_compositor.h"

namespace {
constexpr uint32_t DefaultManagementVersion = 14;
constexpr int32_t OutputWidth = 1920, OutputHeight = 1080;
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string folder = argv[1];
  uint32_t version = DefaultManagementVersion;
  std::vector<TAnnounced> outputs;
  std::vector<TKdeProfileState> profiles;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--management" && i + 1 < argc) {
      version = static_cast<uint32_t>(std::stoul(argv[++i]));
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const int32_t x = static_cast<int32_t>(outputs.size()) * OutputWidth;
    outputs.push_back({name, "Maker Model (" + name + ")", x, OutputWidth, OutputHeight});
    profiles.push_back(equals == std::string::npos ? TKdeProfileState{} : TKdeProfileState{arg.substr(equals + 1), 1});
  }
  sigset_t ending;
  sigemptyset(&ending);
  sigaddset(&ending, SIGTERM);
  sigaddset(&ending, SIGINT);
  sigprocmask(SIG_BLOCK, &ending, nullptr);
  StandInCompositor compositor(outputs, version, profiles);
  compositor.WriteProfilesTo(folder + "/profiles");
  std::ofstream(folder + "/socket.tmp") << compositor.SocketPath() << '\n';
  std::rename((folder + "/socket.tmp").c_str(), (folder + "/socket").c_str());
  int signal = 0;
  sigwait(&ending, &signal);
  std::ofstream applies(folder + "/applies");
  for (const std::string& line : compositor.Applies()) applies << line << '\n';
  return 0;
}

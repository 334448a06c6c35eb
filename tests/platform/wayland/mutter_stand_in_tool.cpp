// mutter_stand_in FOLDER [--color-manager] CONNECTOR:GAMMA_SIZE ...: the
// stand-in Mutter on a private session bus for end-to-end scripts and the
// benchmark. Writes FOLDER/address once it serves; at SIGTERM writes
// FOLDER/calls (one call a line) and FOLDER/lut<n> (each CRTC's entries) and
// ends.
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/platform/wayland/mutter_stand_in.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string folder = argv[1];
  bool colorManager = false;
  std::vector<TStandInMonitor> monitors;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--color-manager") {
      colorManager = true;
      continue;
    }
    TStandInMonitor monitor;
    monitor.Connector = arg.substr(0, arg.find(':'));
    monitor.GammaSize = std::stoi(arg.substr(arg.find(':') + 1));
    monitor.X = static_cast<int32_t>(monitors.size()) * monitor.Width;
    monitors.push_back(monitor);
  }
  sigset_t ending;
  sigemptyset(&ending);
  sigaddset(&ending, SIGTERM);
  sigaddset(&ending, SIGINT);
  sigprocmask(SIG_BLOCK, &ending, nullptr);
  MutterStandIn mutter(monitors, colorManager);
  if (!mutter.IsUp()) return 1;
  std::ofstream(folder + "/address.tmp") << mutter.Address() << '\n';
  rename((folder + "/address.tmp").c_str(), (folder + "/address").c_str());
  int signal = 0;
  sigwait(&ending, &signal);
  std::ofstream calls(folder + "/calls");
  for (const std::string& call : mutter.Calls()) calls << call << '\n';
  for (size_t i = 0; i < monitors.size(); ++i) {
    std::ofstream lut(folder + "/lut" + std::to_string(i));
    for (uint16_t entry : mutter.Lut(i)) lut << entry << ' ';
  }
  return 0;
}

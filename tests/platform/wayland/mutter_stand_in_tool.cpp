// mutter_stand_in FOLDER [--color-manager] [--colord] [--warm | --night-light]
// CONNECTOR:GAMMA_SIZE|virtual ...: the stand-in Mutter on a private session bus for
// end-to-end scripts and the benchmark. With --colord a stand-in colord on
// the same bus, which stands in for the system bus too, keeps a device per
// monitor, whose default profile Mutter applies; --warm warms what it
// applies as Night Light does, --night-light also says that Night Light is
// active. Writes FOLDER/address once it serves; at SIGTERM writes
// FOLDER/calls (one call a line), FOLDER/colord-calls and FOLDER/lut<n> (each
// CRTC's entries) and ends.
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/platform/wayland/mutter_stand_in.h"
#include "tests/profile/colord_stand_in.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string folder = argv[1];
  bool colorManager = false, colord = false, warm = false, nightLight = false;
  std::vector<TStandInMonitor> monitors;
  std::vector<std::string> connectors;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    bool* option = arg == "--color-manager" ? &colorManager
                   : arg == "--colord"      ? &colord
                   : arg == "--warm"        ? &warm
                   : arg == "--night-light" ? &nightLight
                                            : nullptr;
    if (option != nullptr) {
      *option = true;
      continue;
    }
    TStandInMonitor monitor;
    monitor.Connector = arg.substr(0, arg.find(':'));
    const std::string size = arg.substr(arg.find(':') + 1);
    monitor.Virtual = size == "virtual";
    monitor.GammaSize = monitor.Virtual ? 0 : std::stoi(size);
    monitor.X = static_cast<int32_t>(monitors.size()) * monitor.Width;
    monitors.push_back(monitor);
    connectors.push_back(monitor.Connector);
  }
  sigset_t ending;
  sigemptyset(&ending);
  sigaddset(&ending, SIGTERM);
  sigaddset(&ending, SIGINT);
  sigprocmask(SIG_BLOCK, &ending, nullptr);
  MutterStandIn mutter(monitors, colorManager);
  if (!mutter.IsUp()) return 1;
  if (warm || nightLight) mutter.WarmLikeNightLight(nightLight);
  std::unique_ptr<ColordStandIn> colordStandIn;
  if (colord) {
    colordStandIn = std::make_unique<ColordStandIn>(mutter.Address(), connectors);
    if (!colordStandIn->IsUp()) return 1;
    colordStandIn->DefaultChanged = [&](size_t output, const std::string& bytes) { mutter.ApplyProfile(output, bytes); };
  }
  std::ofstream(folder + "/address.tmp") << mutter.Address() << '\n';
  rename((folder + "/address.tmp").c_str(), (folder + "/address").c_str());
  int signal = 0;
  sigwait(&ending, &signal);
  std::ofstream calls(folder + "/calls");
  for (const std::string& call : mutter.Calls()) calls << call << '\n';
  std::ofstream colordCalls(folder + "/colord-calls");
  for (const std::string& call : colordStandIn ? colordStandIn->Calls() : std::vector<std::string>{})
    colordCalls << call << '\n';
  for (size_t i = 0; i < monitors.size(); ++i) {
    std::ofstream lut(folder + "/lut" + std::to_string(i));
    for (uint16_t entry : mutter.Lut(i)) lut << entry << ' ';
  }
  return 0;
}

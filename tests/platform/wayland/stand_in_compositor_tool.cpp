// stand_in_compositor SOCKET OUTPUTS [gamma | handover] [kde=VERSION] [wl_output=VERSION]: the
// stand-in compositor as a program, for the end-to-end tests and the
// benchmarks. OUTPUTS is a list such as "DP-1:1024,HDMI-A-1:256=/x.icc"
// (name, gamma size, 0 refusing every control, and the profile KWin has
// assigned). "gamma" offers wlr gamma control, refusing a second client;
// "handover" offers it, handing the output over to a second client; "kde="
// offers KWin's output management at that version; "wl_output=" announces
// every output at that version (4 unless told). Every event is a line on
// standard output (stand_in_compositor.h), and "ready" once it serves;
// commands come on standard input, one a line: "add NAME:SIZE", "remove NAME", "fail NAME".
// The end of the input ends it.
#include <iostream>
#include <mutex>
#include <string>

#include "tests/platform/wayland/stand_in_compositor.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: stand_in_compositor SOCKET OUTPUTS [gamma | handover] [kde=VERSION] [wl_output=VERSION]\n";
    return 2;
  }
  TGammaControl gamma = TGammaControl::None;
  uint32_t kdeManagementVersion = 0;
  uint32_t outputVersion = 4;
  for (int i = 3; i < argc; ++i) {
    const std::string feature = argv[i];
    if (feature == "gamma") gamma = TGammaControl::RefuseSecond;
    if (feature == "handover") gamma = TGammaControl::HandOver;
    if (feature.starts_with("kde=")) kdeManagementVersion = static_cast<uint32_t>(std::stoul(feature.substr(4)));
    if (feature.starts_with("wl_output=")) outputVersion = static_cast<uint32_t>(std::stoul(feature.substr(10)));
  }
  const auto outputsOf = [outputVersion](const std::string& list) {
    std::vector<TStandInOutput> outputs = StandInOutputsOf(list);
    for (TStandInOutput& output : outputs) output.OutputVersion = outputVersion;
    return outputs;
  };
  std::mutex output;
  StandInCompositor compositor(argv[1], outputsOf(argv[2]), gamma, kdeManagementVersion,
                               [&output](const std::string& line) {
                                 std::lock_guard<std::mutex> hold(output);
                                 std::cout << line << std::endl;
                               });
  std::cout << "ready" << std::endl;
  std::string command, argument;
  while (std::cin >> command >> argument) {
    if (command == "add") compositor.AddOutput(outputsOf(argument).front());
    if (command == "remove") compositor.RemoveOutput(argument);
    if (command == "fail") compositor.SendFailed(argument);
  }
  return 0;
}

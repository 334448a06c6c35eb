// stand_in_compositor SOCKET OUTPUTS [gamma | handover] [kde=VERSION] [noicc=NAME] [windows] [wl_output=VERSION]: the
// stand-in compositor as a program, for the end-to-end tests and the
// benchmarks. OUTPUTS is a list such as "DP-1:1024,HDMI-A-1:256=/x.icc"
// (name, gamma size, 0 refusing every control, and the profile KWin has
// assigned). "gamma" offers wlr gamma control, refusing a second client;
// "handover" offers it, handing the output over to a second client; "kde="
// offers KWin's output management at that version; "noicc=" names an output
// whose device announces no ICC capability; "windows" what a toolkit
// needs to show windows; "wl_output=" announces every output at that version
// (4 unless told). Every event is a line on standard output
// (stand_in_compositor.h), and "ready" once it serves; commands come on
// standard input, one a line: "add NAME:SIZE", "remove NAME", "fail NAME",
// "press return" (in the window shown last).
// The end of the input ends it.
#include <iostream>
#include <mutex>
#include <string>
#include <vector>

#include "tests/platform/wayland/stand_in_compositor.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: stand_in_compositor SOCKET OUTPUTS [gamma | handover] [kde=VERSION] [noicc=NAME] [windows]"
                 " [wl_output=VERSION]\n";
    return 2;
  }
  TGammaControl gamma = TGammaControl::None;
  uint32_t kdeManagementVersion = 0;
  uint32_t outputVersion = 4;
  std::vector<TStandInOutput> outputs = StandInOutputsOf(argv[2]);
  for (int i = 3; i < argc; ++i) {
    const std::string feature = argv[i];
    for (TStandInOutput& output : outputs)
      if (feature == "noicc=" + output.Name) output.IccCapability = false;
    if (feature == "gamma") gamma = TGammaControl::RefuseSecond;
    if (feature == "handover") gamma = TGammaControl::HandOver;
    if (feature.starts_with("kde=")) kdeManagementVersion = static_cast<uint32_t>(std::stoul(feature.substr(4)));
    if (feature.starts_with("wl_output=")) outputVersion = static_cast<uint32_t>(std::stoul(feature.substr(10)));
  }
  for (TStandInOutput& each : outputs) each.OutputVersion = outputVersion;
  const auto outputsOf = [outputVersion](const std::string& list) {
    std::vector<TStandInOutput> added = StandInOutputsOf(list);
    for (TStandInOutput& each : added) each.OutputVersion = outputVersion;
    return added;
  };
  constexpr uint32_t ReturnKey = 28;  // KEY_ENTER
  std::mutex output;
  StandInCompositor compositor(argv[1], outputs, gamma, kdeManagementVersion,
                               [&output](const std::string& line) {
                                 std::lock_guard<std::mutex> hold(output);
                                 std::cout << line << std::endl;
                               });
  for (int i = 3; i < argc; ++i)
    if (std::string(argv[i]) == "windows") compositor.OfferWindows();
  std::cout << "ready" << std::endl;
  std::string command, argument;
  while (std::cin >> command >> argument) {
    if (command == "add") compositor.AddOutput(outputsOf(argument).front());
    if (command == "remove") compositor.RemoveOutput(argument);
    if (command == "fail") compositor.SendFailed(argument);
    if (command == "press" && argument == "return" && !compositor.PressKey(ReturnKey))
      std::cout << "no window to press return in" << std::endl;
  }
  return 0;
}

// wlr_stand_in SOCKET OUTPUTS [handover]: the stand-in wlroots compositor as a
// program, for the end-to-end tests and the benchmarks. OUTPUTS is a list
// such as "DP-1:1024,HDMI-A-1:256" (name and gamma size; 0 refuses every
// control); it refuses a second client unless "handover" is given. Every
// event is a line on standard output (wlr_stand_in.h); commands come on
// standard input, one a line: "add NAME:SIZE", "remove NAME", "fail NAME".
// The end of the input ends it.
#include <iostream>
#include <mutex>
#include <string>

#include "tests/platform/wayland/wlr_stand_in.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: wlr_stand_in SOCKET OUTPUTS [handover]\n";
    return 2;
  }
  std::mutex output;
  const TOwnerRule rule = argc > 3 && std::string(argv[3]) == "handover" ? TOwnerRule::HandOver
                                                                          : TOwnerRule::RefuseSecond;
  WlrStandIn compositor(argv[1], StandInOutputsOf(argv[2]), rule, [&output](const std::string& line) {
    std::lock_guard<std::mutex> hold(output);
    std::cout << line << std::endl;
  });
  std::cout << "ready" << std::endl;
  std::string command, argument;
  while (std::cin >> command >> argument) {
    if (command == "add") compositor.AddOutput(StandInOutputsOf(argument).front());
    if (command == "remove") compositor.RemoveOutput(argument);
    if (command == "fail") compositor.SendFailed(argument);
  }
  return 0;
}

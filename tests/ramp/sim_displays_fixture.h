// Tests of the model run against the simulated displays of a temporary
// folder, the same seam that end-to-end checks use.
#pragma once

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/sim_displays.h"
#include "ramp/display_discovery.h"
#include "ramp/displays_port.h"
#include "ramp/messages_port.h"
#include "ramp/no_displays.h"
#include "tests/temp_folder.h"

class SimDisplaysTest : public ::testing::Test {
 protected:
  SimDisplaysTest() : sim_(folder_.Path(), false) {
    SetDisplaysPort(sim_);
    SetMessagesPort(shownMessages_);
  }
  ~SimDisplaysTest() override {
    ReleaseDisplays();
    static TNoDisplays none;
    static TStreamMessages standardError(std::cerr);
    SetDisplaysPort(none);
    SetMessagesPort(standardError);
  }

  void WriteDisplays(const std::string& ini) { WriteBytes(folder_.File("displays.ini"), ini); }
  void WriteFile(const std::string& name, const std::string& bytes) {
    WriteBytes(folder_.File(name), bytes);
  }
  // Writes the ini and discovers its displays.
  void Discover(const std::string& ini) {
    WriteDisplays(ini);
    EnumerateDisplays();
  }

  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    std::istringstream log(ReadBytes(folder_.File("log.txt")));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
  }
  // The log with every ramp's 768 values left out: "set 1 ok", "wait 10".
  std::vector<std::string> LogCalls() const {
    std::vector<std::string> calls;
    for (const std::string& line : LogLines()) {
      std::istringstream words(line);
      std::string verb, number, result;
      words >> verb >> number >> result;
      calls.push_back(verb + " " + number + (result.empty() ? "" : " " + result));
    }
    return calls;
  }
  void ClearLog() { std::filesystem::remove(folder_.File("log.txt")); }

  TempFolder folder_;
  std::ostringstream messages_;
  TStreamMessages shownMessages_{messages_};
  TSimDisplays sim_;
};

// Every channel: entry = f(level).
template <class Level>
TGammaRamp RampOf(Level f) {
  TGammaRamp ramp{};
  for (int channel = 0; channel < 3; ++channel)
    for (int level = 0; level < LevelCount; ++level)
      ramp[channel * LevelCount + level] = static_cast<uint16_t>(f(level));
  return ramp;
}

inline std::string RampFileOf(const TGammaRamp& ramp) {
  std::string text;
  for (uint16_t entry : ramp) text += std::to_string(entry) + " ";
  return text;
}

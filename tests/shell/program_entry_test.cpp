#include "shell/program_entry.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <stdexcept>

#include "platform/sim/sim_displays.h"
#include "ramp/messages_port.h"
#include "ramp/no_displays.h"
#include "ramp/ramp_access.h"
#include "ramp/ramp_guardian.h"
#include "tests/temp_folder.h"

namespace {

class RecordingGuardian : public TRampGuardian {
 public:
  void Hold(const std::string& savedRamps) override { Held.push_back(savedRamps); }
  void Release() override { ++Releases; }
  std::vector<std::string> Held;
  int Releases = 0;
};

class ProgramEntryTest : public ::testing::Test {
 protected:
  ProgramEntryTest() {
    SetDisplaysPort(sim_);
    SetMessagesPort(shownMessages_);
    SetRampGuardian(guardian_);
    WriteBytes(folder_.File("displays.ini"), "[Monitor1]\n");
    std::string sevens;
    for (int i = 0; i < 768; ++i) sevens += "7 ";
    WriteBytes(folder_.File("ramp1.txt"), sevens);
  }
  ~ProgramEntryTest() override {
    static TNoDisplays none;
    static RecordingGuardian noGuardian;
    static TStreamMessages standardError(std::cerr);
    SetDisplaysPort(none);
    SetMessagesPort(standardError);
    SetRampGuardian(noGuardian);
  }
  std::string Exe() const { return folder_.File("Tonemark.exe"); }

  TempFolder folder_;
  std::ostringstream messages_;
  TStreamMessages shownMessages_{messages_};
  TSimDisplays sim_{folder_.Path(), false};
  RecordingGuardian guardian_;
};

TEST_F(ProgramEntryTest, AnExceptionEscapingTheSessionPutsTheSavedRampsBack) {
  const int exitCode = ProgramEntry({Exe()}, [] {
    SaveRamps();
    SetLinearRamp(0);
    throw std::runtime_error("The window failed.");
  });
  EXPECT_EQ(exitCode, 1);
  EXPECT_EQ(messages_.str(), "Error: The window failed.\n");
  ASSERT_EQ(guardian_.Held.size(), 1u);
  EXPECT_EQ(guardian_.Held[0].substr(0, 17), "1\n\\\\.\\DISPLAY1\n7 ");
  EXPECT_EQ(guardian_.Releases, 1);
  EXPECT_FALSE(RampsOnTrial());
  // Every entry 7 again, as before the session.
  std::istringstream ramp(ReadBytes(folder_.File("ramp1.txt")));
  int value = 0, count = 0;
  while (ramp >> value) count += value == 7;
  EXPECT_EQ(count, 768);
}

}  // namespace

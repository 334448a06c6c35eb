#include "ramp/ramp_guardian.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_ramp_file.h"
#include "ramp/ramp_access.h"
#include "tests/ramp/sim_displays_fixture.h"

namespace {

class RampGuardianTest : public SimDisplaysTest {
 protected:
  // What SaveRamps hands over for two displays, ramps 5 and 9 everywhere.
  std::string Saved() {
    WriteFile("ramp1.txt", RampFileOf(RampOf([](int) { return 5; })));
    WriteFile("ramp2.txt", RampFileOf(RampOf([](int) { return 9; })));
    Discover("[Monitor1]\n[Monitor2]\n");
    SaveRamps();
    KeepRamps();
    const std::string text = SavedRampsText();
    ReleaseDisplays();
    WriteFile("ramp1.txt", RampFileOf(RampOf([](int) { return 0; })));
    WriteFile("ramp2.txt", RampFileOf(RampOf([](int) { return 0; })));
    ClearLog();
    return text;
  }
  // Runs the guardian on `input`; returns what it answered.
  std::string Guard(const std::string& input) {
    std::istringstream session(input);
    std::ostringstream answer;
    EXPECT_EQ(RunRampGuardian(session, answer), 0);
    return answer.str();
  }
  uint16_t Entry(int number) {
    TGammaRamp ramp{};
    EXPECT_TRUE(ReadRampFile(folder_.File("ramp" + std::to_string(number) + ".txt"), ramp));
    return ramp[300];
  }
};

TEST_F(RampGuardianTest, LoadsTheRampsBackWhenTheSessionEndsUnreleased) {
  EXPECT_EQ(Guard(Saved()), "");
  EXPECT_EQ(Entry(1), 5);
  EXPECT_EQ(Entry(2), 9);
}

TEST_F(RampGuardianTest, LoadsThemAtOnceWhenAskedAndAnswers) {
  EXPECT_EQ(Guard(Saved() + "R"), "R");
  EXPECT_EQ(Entry(1), 5);
}

TEST_F(RampGuardianTest, LoadsNothingWhenReleasedOrWhenTheRampsNeverArrivedWhole) {
  const std::string saved = Saved();
  Guard(saved + "E");
  Guard(saved.substr(0, saved.size() - 4));
  Guard(saved.substr(0, 30));
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(RampGuardianTest, LeavesADisplayThatIsNoLongerTheSameOutput) {
  const std::string saved = Saved();
  WriteDisplays("[Monitor1]\nDeviceName=DP-3\n[Monitor2]\n");
  Guard(saved);
  EXPECT_EQ(LogCalls(), std::vector<std::string>{"set 2 ok"});
}

TEST_F(RampGuardianTest, FollowsEachDeviceNameWhenADisplayWentAway) {
  const std::string saved = Saved();
  WriteDisplays("[Monitor1]\nDeviceName=\\\\.\\DISPLAY2\n");
  Guard(saved);
  EXPECT_EQ(LogCalls(), std::vector<std::string>{"set 1 ok"});
  EXPECT_EQ(Entry(1), 9);
}

}  // namespace

// Gamma ramps under Wine on Xvfb: the X server offers Wine no gamma ramp to
// read or load, so every ramp call fails, and the model must take its
// documented ways round that rather than load a black or half-read ramp.
#include "platform/windows/display_gdi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ramp/build_ramp.h"
#include "ramp/display_discovery.h"
#include "ramp/load_curves.h"
#include "ramp/no_displays.h"
#include "ramp/ramp_access.h"
#include "tests/temp_folder.h"

namespace {
// The real GDI backend, with every ramp call and wait written down as it passes.
class RecordingGdiDisplays : public TGdiDisplays {
 public:
  bool GetRamp(TDisplayHandle display, TGammaRamp& ramp) override {
    const bool read = TGdiDisplays::GetRamp(display, ramp);
    Calls.push_back(read ? "get ok" : "get fail");
    return read;
  }
  bool SetRamp(TDisplayHandle display, const TGammaRamp& ramp) override {
    const bool loaded = TGdiDisplays::SetRamp(display, ramp);
    Calls.push_back(std::string(loaded ? "set ok " : "set refused ") + std::to_string(ramp[1]) +
                    " " + std::to_string(ramp[255]) + " " + std::to_string(ramp[767]));
    return loaded;
  }
  void Wait(int32_t milliseconds) override {
    TGdiDisplays::Wait(milliseconds);
    Calls.push_back("wait " + std::to_string(milliseconds));
  }
  std::vector<std::string> Calls;
};

class GdiRamps : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDisplaysPort(gdi_);
    EnumerateDisplays();
    ASSERT_EQ(DisplayCount, 1);
  }
  void TearDown() override {
    ReleaseDisplays();
    static TNoDisplays none;
    SetDisplaysPort(none);
  }
  RecordingGdiDisplays gdi_;
};

TEST_F(GdiRamps, AnUnreadableRampIsSavedAsTheLinearRampNotAsBlack) {
  SaveRamps();
  ASSERT_EQ(SavedRamps.size(), 1u);
  EXPECT_EQ(SavedRamps[0][0], 0);
  EXPECT_EQ(SavedRamps[0][1], 256);
  EXPECT_EQ(SavedRamps[0][255], 65280);
  EXPECT_EQ(SavedRamps[0][767], 65280);
  EXPECT_EQ(gdi_.Calls, std::vector<std::string>{"get fail"});
}

TEST_F(GdiRamps, ARefusedLoadIsReportedAndAFailedReadLeavesWorkRampAlone) {
  WorkRamp.fill(4321);
  EXPECT_FALSE(ReadDisplayRamp(0));
  EXPECT_EQ(WorkRamp[0], 4321);
  EXPECT_EQ(WorkRamp[767], 4321);
  EXPECT_FALSE(SetLinearRamp(0));
  EXPECT_EQ(gdi_.Calls, (std::vector<std::string>{"get fail", "set refused 256 65280 65280"}));
}

TEST_F(GdiRamps, LoadModeStartsFromTheLinearRampAfterAPauseWhenTheRampCannotBeRead) {
  TempFolder data;  // no curve file: the target is the linear ramp
  EXPECT_TRUE(LoadCurves(data.Folder()));
  EXPECT_EQ(gdi_.Calls, (std::vector<std::string>{"get fail", "set refused 256 65280 65280",
                                                  "wait 50", "set refused 256 65280 65280"}));
}
}  // namespace

// Launches when the display configuration changes, as RandR reports it on the
// real CRTC of the private Xvfb that the tests run on, and when the session
// comes back: each time the curve is back in the card after its ramp was
// reset, and news arriving together gives one launch.
#include <stdio.h>
#include <stdlib.h>

#include <gtest/gtest.h>

#include <thread>

#include "tests/loader_linux/loader_folder.h"
#include "tests/loader_linux/private_bus.h"

namespace {

constexpr auto Settle = std::chrono::milliseconds(1500);  // past the loader's one-second delay
constexpr char SmallMode[] = "tonewatch-test-800";

std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char chunk[4096];
    for (size_t count; (count = fread(chunk, 1, sizeof chunk, pipe)) > 0;) text.append(chunk, count);
    pclose(pipe);
  }
  return text;
}

std::string CrtcRamp() { return Output(std::string(CRTC_GAMMA_BINARY) + " get"); }

void Xrandr(const std::string& arguments) { Output("xrandr " + arguments + " 2>&1"); }

// A curve file of an all-zero record but for a few scalar fields (gamma,
// red black, blue white, green balance), so that its ramp is far from linear.
std::string CurveFile() {
  std::string text = "RampCurve v.2\r\n\\\\.\\DISPLAY1\r\n";
  for (int field : {0, 20, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, -30, 0, 5, 0}) text += std::to_string(field) + "\r\n";
  for (int level = 0; level < 256; ++level) text += "FALSE\r\n0\r\n0\r\n0\r\n0\r\n";
  return text;
}

class TonewatchDisplay : public testing::Test {
 protected:
  void SetUp() override {
    const char* display = getenv("DISPLAY");
    ASSERT_NE(display, nullptr) << "runs on an X server (with_xvfb.sh)";
    ASSERT_TRUE(bus_.IsUp());
    folder_.SetVariable("DISPLAY", display);
    folder_.SetVariable("DBUS_SYSTEM_BUS_ADDRESS", bus_.Address());
    Xrandr(std::string("--newmode ") + SmallMode + " 40 800 840 968 1056 600 601 605 628");
    Xrandr(std::string("--addmode screen ") + SmallMode);
    std::string ramp;
    for (int channel = 0; channel < 3; ++channel) {
      for (int level = 0; level < 256; ++level) ramp += std::to_string(level * 257) + " ";
    }
    WriteBytes(identityFile_.File("ramp"), ramp);
    ResetRamp();
    identity_ = CrtcRamp();
  }

  void TearDown() override { Xrandr("--output screen --mode 1024x768"); }

  void ResetRamp() { Output(std::string(CRTC_GAMMA_BINARY) + " set < " + identityFile_.File("ramp")); }

  // Starts a loader whose launches run the built tonemark on the curve file;
  // the ramp that its first launch leaves in the card.
  LoaderProcess StartLoadingTheCurve(std::string& curveRamp) {
    folder_.UseRealTonemark();
    WriteBytes(folder_.Folder() + "Tonemark1.lut", CurveFile());
    LoaderProcess loader = folder_.Start({"/delay", "60"});
    EXPECT_TRUE(folder_.WaitForStarts(1, 5));
    EXPECT_TRUE(folder_.WaitForTonemarksToEnd(10));
    curveRamp = CrtcRamp();
    EXPECT_TRUE(curveRamp != identity_) << "the first launch loads the curve";
    EXPECT_TRUE(bus_.WaitForLoader(loader.Pid(), 5));
    return loader;
  }

  PrivateBus bus_;
  LoaderFolder folder_;
  TempFolder identityFile_;
  std::string identity_;
};

TEST_F(TonewatchDisplay, ReappliesTheCurveAfterAModeOrOutputChange) {
  std::string curveRamp;
  LoaderProcess loader = StartLoadingTheCurve(curveRamp);
  // Loading a ramp is no display change: resetting it launches nothing.
  ResetRamp();
  std::this_thread::sleep_for(Settle);
  EXPECT_EQ(folder_.Starts().size(), 1u);
  EXPECT_TRUE(CrtcRamp() == identity_);

  const std::vector<std::string> changes = {std::string("--output screen --mode ") + SmallMode,
                                            "--output screen --off", "--output screen --auto"};
  for (size_t i = 0; i < changes.size(); ++i) {
    SCOPED_TRACE(changes[i]);
    ResetRamp();
    ASSERT_TRUE(CrtcRamp() == identity_) << "the ramp is reset";
    Xrandr(changes[i]);
    if (i == 1) Xrandr(changes[++i]);  // off and on again at once: one launch for both
    EXPECT_TRUE(WaitUntil(5, [&] { return CrtcRamp() == curveRamp; }));
    ASSERT_TRUE(folder_.WaitForTonemarksToEnd(10));
  }
  std::this_thread::sleep_for(Settle);
  EXPECT_EQ(folder_.Starts().size(), 3u);
  EXPECT_TRUE(loader.IsRunning());
}

TEST_F(TonewatchDisplay, ReappliesTheCurveWhenTheSessionComesBack) {
  std::string curveRamp;
  LoaderProcess loader = StartLoadingTheCurve(curveRamp);
  ResetRamp();
  bus_.EmitSessionProperty("Active", true);
  EXPECT_TRUE(WaitUntil(5, [&] { return CrtcRamp() == curveRamp; }));
}

TEST_F(TonewatchDisplay, ABurstOfDisplayAndSessionNewsGivesOneLaunch) {
  LoaderProcess loader = folder_.Start({"/delay", "60"});
  ASSERT_TRUE(folder_.WaitForStarts(1, 5));
  ASSERT_TRUE(bus_.WaitForLoader(loader.Pid(), 5));
  for (int i = 0; i < 3; ++i) {
    Xrandr(std::string("--output screen --mode ") + SmallMode);
    bus_.EmitSessionProperty("LockedHint", false);
    Xrandr("--output screen --mode 1024x768");
  }
  ASSERT_TRUE(folder_.WaitForStarts(2, 5));
  std::this_thread::sleep_for(Settle);
  EXPECT_EQ(folder_.Starts().size(), 2u);
}

}  // namespace

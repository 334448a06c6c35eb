// Gamma ramps under Wine on Xvfb: the X server offers Wine no gamma ramp to
// read or load, so every ramp call fails, and the model must take its
// documented ways round that rather than load a black or half-read ramp.
// The calls' success is shown on a video card put behind the GDI calls.
#include "platform/windows/display_gdi.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lang/multilang.h"
#include "platform/windows/display_advanced_color.h"
#include "ramp/build_ramp.h"
#include "ramp/curve_file.h"
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
  // Neither read back nor accepted: the display did not keep it.
  EXPECT_FALSE(LoadCurves(data.Folder()));
  EXPECT_EQ(gdi_.Calls, (std::vector<std::string>{"get fail", "set refused 256 65280 65280",
                                                  "wait 50", "set refused 256 65280 65280", "get fail"}));
}

// A video card behind the two GDI calls, holding its ramp word for word.
// Like Windows, it may refuse ramps far from the identity ramp.
TGammaRamp Card;
bool RefusesFarRamps = false;

int CardGet(void*, void* ramp) {
  std::memcpy(ramp, Card.data(), sizeof Card);
  return TRUE;
}

int CardSet(void*, void* ramp) {
  TGammaRamp loaded;
  std::memcpy(loaded.data(), ramp, sizeof loaded);
  for (size_t i = 0; RefusesFarRamps && i < loaded.size(); ++i)
    if (std::abs(loaded[i] - static_cast<int>(i % 256) * 257) > 16384) return FALSE;
  Card = loaded;
  return TRUE;
}

class GdiRampsOnACard : public GdiRamps {
 protected:
  void SetUp() override {
    GdiRamps::SetUp();
    for (size_t i = 0; i < Card.size(); ++i) Card[i] = static_cast<uint16_t>(i % 256 * 200);
    RefusesFarRamps = false;
    gdi_.GetGammaRamp = CardGet;
    gdi_.SetGammaRamp = CardSet;
  }
  // Tonemark1.lut of a record in the data folder; its ramp.
  TGammaRamp StoreCurve(TRampCurve curve) {
    WriteBytes(data_.File("Tonemark1.lut"), CurveFileText(curve, "\\\\.\\DISPLAY1"));
    TGammaRamp ramp;
    BuildRamp(curve, ramp);
    return ramp;
  }
  TempFolder data_;
};

TEST_F(GdiRampsOnACard, TheSessionAndLoadModeReadAndLoadTheCardsRampWordForWord) {
  const TGammaRamp start = Card;
  SaveRamps();
  EXPECT_EQ(SavedRamps[0], start);
  Curves[0].Gamma = 30;
  ASSERT_TRUE(SetCurveRamp(0));
  EXPECT_EQ(Card, WorkRamp);
  RestoreRamps();
  EXPECT_EQ(Card, start);

  TRampCurve curve;
  curve.BlackR = 20;
  curve.WhiteB = -40;
  const TGammaRamp target = StoreCurve(curve);
  EXPECT_TRUE(LoadCurves(data_.Folder()));
  EXPECT_EQ(Card, target);
}

TEST_F(GdiRampsOnACard, LoadModeReportsACardThatRefusesARampFarFromIdentity) {
  RefusesFarRamps = true;
  TRampCurve dark;
  dark.White = -100;
  StoreCurve(dark);
  TLoadReport report;
  EXPECT_FALSE(LoadCurves(data_.Folder(), report));
  EXPECT_EQ(report.NotKept, std::vector<int32_t>{0});
}
// Advanced colour as Windows reports it for a monitor in HDR mode: Wine
// reports none, so Wine's one monitor is said to be in it here.
bool Display1InHdrMode(const std::string& deviceName) { return deviceName == "\\\\.\\DISPLAY1"; }

TEST_F(GdiRampsOnACard, AnHdrDisplayTakesNoRampAndLoadModeSaysWhyInsteadOfNotKept) {
  EXPECT_FALSE(SystemAdvancedColorEnabled("\\\\.\\DISPLAY1"));  // Wine's own answer
  ReleaseDisplays();
  gdi_.AdvancedColorEnabled = Display1InHdrMode;
  EnumerateDisplays();
  TextTable = {{"MHdrMode", "in HDR mode"}};
  const TGammaRamp before = Card;
  TRampCurve curve;
  curve.Gamma = 30;
  StoreCurve(curve);
  TLoadReport report;
  EXPECT_FALSE(LoadCurves(data_.Folder(), report));
  EXPECT_EQ(report.Refused, (std::vector<std::pair<int32_t, std::string>>{{0, "in HDR mode"}}));
  EXPECT_TRUE(report.NotKept.empty());
  EXPECT_FALSE(SetCurveRamp(0));
  EXPECT_EQ(Card, before);
  EXPECT_EQ(gdi_.Calls, (std::vector<std::string>{"get fail", "set refused 923 65535 65535"}));
  TextTable.clear();
}
}  // namespace

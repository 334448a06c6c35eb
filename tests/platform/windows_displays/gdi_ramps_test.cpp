// Gamma ramps under Wine on Xvfb: the X server offers Wine no gamma ramp to
// read or load, so every ramp call fails, and the model must take its
// documented ways round that rather than load a black or half-read ramp.
// The calls' success is shown on a video card put behind the GDI calls.
#include "tests/platform/windows_displays/gdi_card.h"

#include "lang/multilang.h"
#include "platform/windows/display_advanced_color.h"
#include "platform/windows/display_gamma_range.h"
#include "ramp/load_curves.h"
#include "ramp/ramp_access.h"

namespace {
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
// Advanced colour as Windows reports it for Wine's one monitor: Wine answers
// no query about it, so the tests answer for it.
TAdvancedColor Display1Mode = TAdvancedColor::Off;
TAdvancedColor Display1Answer(const std::string& deviceName) {
  return deviceName == "\\\\.\\DISPLAY1" ? Display1Mode : TAdvancedColor::Off;
}

class GdiRampsInAdvancedColor : public GdiRampsOnACard {
 protected:
  void Enter(TAdvancedColor mode) {
    ReleaseDisplays();
    Display1Mode = mode;
    gdi_.AdvancedColor = Display1Answer;
    EnumerateDisplays();
  }
  void SetUp() override {
    GdiRampsOnACard::SetUp();
    TextTable = {{"MHdrMode", "in HDR mode"}, {"MWideColorMode", "in a wide-colour mode"},
                 {"MAdvancedColorUnknown", "mode unknown"}, {"MGammaRangeUnset", "set GdiIcmGammaRange"}};
  }
  void TearDown() override {
    TextTable.clear();
    GdiRampsOnACard::TearDown();
  }
};

TEST_F(GdiRampsInAdvancedColor, WinesOwnAnswerIsThatItCannotSay) {
  EXPECT_EQ(SystemAdvancedColor("\\\\.\\DISPLAY1"), TAdvancedColor::Unknown);
}

TEST_F(GdiRampsInAdvancedColor, AnHdrDisplayTakesNoRampAndLoadModeSaysWhyInsteadOfNotKept) {
  Enter(TAdvancedColor::Hdr);
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
}

// Windows 11's automatic colour management bypasses the ramp as HDR does.
TEST_F(GdiRampsInAdvancedColor, AWideColourDisplayTakesNoRampAndIsNamedForItsMode) {
  Enter(TAdvancedColor::WideColor);
  const TGammaRamp before = Card;
  TRampCurve curve;
  curve.Gamma = 30;
  StoreCurve(curve);
  TLoadReport report;
  EXPECT_FALSE(LoadCurves(data_.Folder(), report));
  EXPECT_EQ(report.Refused, (std::vector<std::pair<int32_t, std::string>>{{0, "in a wide-colour mode"}}));
  EXPECT_EQ(gdi_.RampRefusal(Displays[0].DC), "in a wide-colour mode");
  EXPECT_EQ(gdi_.RampRefusalCause(Displays[0].DC), "");
  EXPECT_EQ(Card, before);
}

TEST_F(GdiRampsInAdvancedColor, ADisplayWhoseModeWindowsCannotTellIsLoadedVerifiedAndReported) {
  Enter(TAdvancedColor::Unknown);
  TRampCurve curve;
  curve.Gamma = 30;
  const TGammaRamp target = StoreCurve(curve);
  TLoadReport report;
  EXPECT_TRUE(LoadCurves(data_.Folder(), report));
  EXPECT_EQ(Card, target);
  EXPECT_EQ(report.InDoubt, (std::vector<std::pair<int32_t, std::string>>{{0, "mode unknown"}}));
  EXPECT_TRUE(report.Refused.empty());
  EXPECT_TRUE(report.NotKept.empty());
  // The window loads it live: no preview.
  EXPECT_EQ(gdi_.RampRefusal(Displays[0].DC), "");
}

// Windows refuses a ramp far from the identity, or takes it and keeps the
// old one; either way the user learns of GdiIcmGammaRange until it is set,
// and then that it waits for a restart.
std::optional<unsigned long> NoGammaRange() { return std::nullopt; }
std::optional<unsigned long> WholeGammaRangeSet() { return 256; }

TEST_F(GdiRampsInAdvancedColor, ARefusedOrIgnoredRampNamesGdiIcmGammaRange) {
  TextTable.emplace_back("MGammaRangeSet", "restart for GdiIcmGammaRange");
  TRampCurve dark;
  dark.White = -100;
  StoreCurve(dark);
  gdi_.GammaRange = NoGammaRange;
  for (bool* rule : {&RefusesFarRamps, &IgnoresFarRamps}) {
    RefusesFarRamps = IgnoresFarRamps = false;
    *rule = true;
    TLoadReport report;
    EXPECT_FALSE(LoadCurves(data_.Folder(), report));
    EXPECT_EQ(report.NotKept, std::vector<int32_t>{0});
    EXPECT_EQ(gdi_.RampRefusalCause(Displays[0].DC), "set GdiIcmGammaRange");
  }
  gdi_.GammaRange = WholeGammaRangeSet;
  EXPECT_EQ(gdi_.RampRefusalCause(Displays[0].DC), "restart for GdiIcmGammaRange");
}

// The value as Windows keeps it, in Wine's registry, put back as it was.
TEST(GdiGammaRange, IsReadFromTheMachinesIcmKey) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, GammaRangeKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  DWORD before = 0, size = sizeof before;
  const bool existed = RegQueryValueExA(key, GammaRangeValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&before),
                                        &size) == ERROR_SUCCESS;
  RegDeleteValueA(key, GammaRangeValue);
  EXPECT_EQ(SystemGammaRange(), std::nullopt);
  const DWORD whole = 256;
  RegSetValueExA(key, GammaRangeValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&whole), sizeof whole);
  EXPECT_EQ(SystemGammaRange(), 256ul);
  if (existed) RegSetValueExA(key, GammaRangeValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before), size);
  else RegDeleteValueA(key, GammaRangeValue);
  RegCloseKey(key);
}
}  // namespace

// Tonemark /load and the session on a Windows that loads each display's
// default colour profile itself ("Use Windows display calibration"), or
// cannot say whether a display bypasses ramps: what the user reads, and the
// exit code. Wine answers none of these questions (its Wcs calls are
// stubs), so the tests answer them; the profiles are Tonemark's own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lang/multilang.h"
#include "platform/windows/system_calibration_keeper.h"
#include "profile/display_profile.h"
#include "ramp/messages_port.h"
#include "shell/calibration_keeper.h"
#include "shell/command_line.h"
#include "shell/program_entry.h"
#include "shell/system_profile.h"
#include "tests/platform/windows_displays/gdi_card.h"

namespace {

bool ManagementOn = true;
std::string DefaultName;
std::string AskedDevice;
std::string ProfileFolderPath;

bool Management() { return ManagementOn; }
std::string DefaultOf(const std::string& device) {
  AskedDevice = device;
  return DefaultName;
}
std::string ProfileFolderOf() { return ProfileFolderPath; }
TAdvancedColor CannotSay(const std::string&) { return TAdvancedColor::Unknown; }
TAdvancedColor NotAdvanced(const std::string&) { return TAdvancedColor::Off; }

class RecordingMessages : public TMessagesPort {
 public:
  void ShowMessage(const std::string& caption, const std::string& text) override {
    Shown.push_back(caption + ": " + text);
  }
  std::vector<std::string> Shown;
};

class SystemCalibration : public GdiRampsOnACard {
 protected:
  void SetUp() override {
    GdiRampsOnACard::SetUp();
    ManagementOn = true;
    DefaultName.clear();
    ProfileFolderPath = profiles_.Folder();
    keeper_.CalibrationManagementOn = Management;
    keeper_.DefaultProfile = DefaultOf;
    keeper_.ProfileFolder = ProfileFolderOf;
    SetCalibrationKeeper(&keeper_);
    SetMessagesPort(messages_);
    ReleaseDisplays();
    gdi_.AdvancedColor = NotAdvanced;
    EnumerateDisplays();
    TextTable = {{"MSystemLoadsOtherProfile", "Display %d: Windows loads %p; run --display %d --install."},
                 {"MSystemLoadsStaleProfile", "Display %d: %p is out of date; run --display %d --install."},
                 {"MRampInDoubt", "Display %d: %r."},
                 {"MRampInDoubtWindow", "Display %d, in the window: %r."},
                 {"MAdvancedColorUnknown", "mode unknown"}};
  }
  void TearDown() override {
    TextTable.clear();
    SetCalibrationKeeper(nullptr);
    static TStreamMessages none(std::cerr);
    SetMessagesPort(none);
    GdiRampsOnACard::TearDown();
  }
  // Tonemark.exe /load, portable in the data folder, in this process.
  int RunLoadMode() {
    ReleaseDisplays();  // the program finds the displays itself
    const int exitCode = ProgramEntry({data_.File("Tonemark.exe"), "/load"}, {});
    EnumerateDisplays();
    return exitCode;
  }
  void InstallDefault(const std::string& name, const std::string& bytes) {
    DefaultName = name;
    WriteBytes(profiles_.File(name), bytes);
  }
  TempFolder profiles_;
  TSystemCalibrationKeeper keeper_;
  RecordingMessages messages_;
};

TRampCurve Curve(int gamma) {
  TRampCurve curve;
  curve.Gamma = gamma;
  return curve;
}

TEST_F(SystemCalibration, AForeignDefaultProfileIsNamedAfterLoadingAndTheRunSucceeds) {
  const TGammaRamp target = StoreCurve(Curve(30));
  InstallDefault("sRGB Color Space Profile.icm", "not Tonemark's");
  EXPECT_EQ(RunLoadMode(), 0);
  EXPECT_EQ(Card, target);
  EXPECT_EQ(messages_.Shown, std::vector<std::string>{
                                 "Warning: Display 1: Windows loads sRGB Color Space Profile.icm; run --display 1 --install."});
  EXPECT_EQ(AskedDevice, Displays[0].Device.DeviceID);
  // The window says the same when the session starts.
  EXPECT_EQ(keeper_.SetAsideForSession(data_.Folder()),
            "Display 1: Windows loads sRGB Color Space Profile.icm; run --display 1 --install.");
}

TEST_F(SystemCalibration, TonemarksDefaultProfileIsNamedOnlyWhenItHoldsAnotherCurve) {
  StoreCurve(Curve(30));
  InstallDefault("Tonemark1.icc", CalibrationProfileBytes(Curve(30), Displays[0]));
  EXPECT_EQ(RunLoadMode(), 0);
  EXPECT_TRUE(messages_.Shown.empty());
  EXPECT_EQ(keeper_.SetAsideForSession(data_.Folder()), "");

  InstallDefault("Tonemark1.icc", CalibrationProfileBytes(Curve(-20), Displays[0]));
  EXPECT_EQ(RunLoadMode(), 0);
  EXPECT_EQ(messages_.Shown,
            std::vector<std::string>{"Warning: Display 1: Tonemark1.icc is out of date; run --display 1 --install."});
}

TEST_F(SystemCalibration, NothingIsSaidWhileWindowsLeavesTheCalibrationAlone) {
  StoreCurve(Curve(30));
  InstallDefault("sRGB Color Space Profile.icm", "not Tonemark's");
  ManagementOn = false;
  EXPECT_EQ(RunLoadMode(), 0);
  EXPECT_TRUE(messages_.Shown.empty());
}

// OK stores the curve; Windows must then not load the one before it.
TEST_F(SystemCalibration, OkGivesTonemarksDefaultProfileTheNewCurveAndLeavesAForeignOneAlone) {
  InstallDefault("Tonemark1.icc", CalibrationProfileBytes(Curve(-20), Displays[0]));
  TGammaRamp stored = StoreCurve(Curve(30));
  EXPECT_EQ(keeper_.HandOverStoredCurves(data_.Folder()), "");
  EXPECT_EQ(ProfileVideoCardRamp(ReadBytes(profiles_.File("Tonemark1.icc"))), stored);
  EXPECT_TRUE(MadeWithTonemark(ReadBytes(profiles_.File("Tonemark1.icc"))));

  InstallDefault("vendor.icm", "not Tonemark's");
  EXPECT_EQ(keeper_.HandOverStoredCurves(data_.Folder()), "");
  EXPECT_EQ(ReadBytes(profiles_.File("vendor.icm")), "not Tonemark's");
}

// A display whose advanced-colour mode Windows cannot tell is loaded and
// verified; the user is told to judge by eye, by the window in its own words.
TEST_F(SystemCalibration, AnUnknownAdvancedColourModeIsReportedAfterAVerifiedLoad) {
  ManagementOn = false;
  gdi_.AdvancedColor = CannotSay;
  const TGammaRamp target = StoreCurve(Curve(30));
  EXPECT_EQ(RunLoadMode(), 0);
  EXPECT_EQ(Card, target);
  EXPECT_EQ(messages_.Shown, std::vector<std::string>{"Warning: Display 1: mode unknown."});
  EXPECT_EQ(keeper_.SetAsideForSession(data_.Folder()), "Display 1, in the window: mode unknown.");
}

// Refused by Windows' limit: an error, exit code 1, naming the setting.
TEST_F(SystemCalibration, ARefusedRampEndsTheRunWithCode1AndNamesGdiIcmGammaRange) {
  ManagementOn = false;
  RefusesFarRamps = true;
  TextTable.emplace_back("MCalibrationNotKept", "Display %d did not keep its calibration.");
  TextTable.emplace_back("MGammaRangeUnset", "Set GdiIcmGammaRange.");
  gdi_.GammaRange = [] { return std::optional<unsigned long>(); };
  TRampCurve dark;
  dark.White = -100;
  StoreCurve(dark);
  EXPECT_EQ(RunLoadMode(), 1);
  EXPECT_EQ(messages_.Shown,
            std::vector<std::string>{"Error: Display 1 did not keep its calibration. Set GdiIcmGammaRange."});
}

}  // namespace

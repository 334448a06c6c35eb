#include <gtest/gtest.h>

#include <windows.h>
#include <icm.h>
#include <lcms2.h>

#include <sstream>

#include "platform/windows/profile_install.h"
#include "profile/display_profile.h"
#include "ramp/build_ramp.h"
#include "tests/temp_folder.h"

namespace {

constexpr char MonitorId[] = "MONITOR\\ABC1234\\{4d36e96e-e325-11ce-bfc1-08002be10318}\\0001";

TRampCurve AdjustedCurve() {
  TRampCurve curve;
  curve.Gamma = 25, curve.BlackR = 9, curve.WhiteG = -30;
  curve.PointSet[90] = true;
  curve.Point[90] = 5000;
  return curve;
}

TEST(WindowsProfile, TheVideoCardTableIsBuildRampsRamp) {
  const std::string bytes = DisplayProfileBytes(AdjustedCurve(), SrgbColours(), "Desk, Tonemark 2024-05-01", "Desk");
  cmsHPROFILE profile = cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size()));
  ASSERT_NE(profile, nullptr);
  auto* curves = static_cast<cmsToneCurve**>(cmsReadTag(profile, cmsSigVcgtTag));
  ASSERT_NE(curves, nullptr);
  TRampCurve curve = AdjustedCurve();
  TGammaRamp expected{}, stored{};
  BuildRamp(curve, expected);
  for (int c = 0; c < 3; ++c)
    for (int level = 0; level < LevelCount; ++level)
      stored[c * LevelCount + level] = cmsEvalToneCurve16(curves[c], static_cast<cmsUInt16Number>(level * 257));
  EXPECT_EQ(stored, expected);
  cmsCloseProfile(profile);
}

TEST(WindowsProfile, InstallsAndAssociatesOrSaysWhyNot) {
  TempFolder folder;
  const std::string name = "TonemarkTest" + std::to_string(GetCurrentProcessId()) + ".icc";
  const std::string path = folder.File(name);
  WriteBytes(path, DisplayProfileBytes(AdjustedCurve(), SrgbColours(), "Desk, Tonemark 2024-05-01", "Desk"));
  TDisplay display;
  display.Device.DeviceID = MonitorId;
  std::ostringstream report;
  // Twice: the second run replaces what the first installed.
  TWindowsProfileInstaller().Install(path, display, report);
  report.str("");
  const bool installed = TWindowsProfileInstaller().Install(path, display, report);

  char colourFolder[MAX_PATH] = "";
  DWORD size = sizeof colourFolder;
  ASSERT_TRUE(GetColorDirectoryA(nullptr, colourFolder, &size));
  const std::string copy = std::string(colourFolder) + "\\" + name;
  const std::string lines = report.str();
  // Wine has only the association for all users, and that is the path run here.
  if (installed) {
    EXPECT_EQ(lines, "Installed " + name + " in the system's colour folder.\nAssociated it with monitor " +
                         MonitorId + " for all users.\n");
    EXPECT_EQ(ReadBytes(copy), ReadBytes(path));
  } else {
    // The step that failed is named, with the system's reason after a colon.
    EXPECT_NE(lines.find("Could not "), std::string::npos) << lines;
    EXPECT_NE(lines.find(": "), std::string::npos) << lines;
  }
  std::cout << lines;
  DisassociateColorProfileFromDeviceA(nullptr, name.c_str(), MonitorId);
  UninstallColorProfileA(nullptr, name.c_str(), TRUE);
}

TEST(WindowsProfile, AMonitorWithoutDeviceIdIsReported) {
  TDisplay display;
  display.MonitorInfo.DeviceName = "\\\\.\\DISPLAY2";
  std::ostringstream report;
  EXPECT_FALSE(TWindowsProfileInstaller().Install("C:\\x\\p.icc", display, report));
  EXPECT_EQ(report.str(), "The system names no monitor device for \\\\.\\DISPLAY2, so the profile could "
                          "not be associated with it.\n");
}

}  // namespace

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/windows/ansi_path.h"
#include "ramp/curve_file.h"
#include "ramp/records.h"
#include "shell/shell_port.h"
#include "tests/temp_folder.h"

namespace {

std::wstring Wide(const std::string& ansi) {
  std::wstring wide(ansi.size(), L'\0');
  wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                  wide.data(), static_cast<int>(wide.size())));
  return wide;
}

bool WideFileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A display to write curve files for, and a temporary folder holding a data
// folder of the given name.
class AnsiFolders : public testing::Test {
 protected:
  void SetUp() override {
    Displays.assign(1, TDisplay{});
    Displays[0].MonitorInfo.DeviceName = "\\\\.\\DISPLAY1";
    DisplayCount = 1;
  }
  void TearDown() override {
    Displays.clear();
    DisplayCount = 0;
  }

  // Writes and reads back a curve file and the settings in `folder` (ANSI,
  // ending with a delimiter), and checks that they landed in `wideFolder`.
  void WriteAndReadBack(const std::string& folder, const std::wstring& wideFolder) {
    TRampCurve curve;
    curve.Gamma = 41;
    ASSERT_TRUE(WriteCurveFile(curve, 0, folder + "Tonemark1.lut"));
    ASSERT_TRUE(WriteCurveFile(curve, 0, folder + "Tonemark1.lut"));  // replacing it
    TRampCurve read;
    std::string deviceName;
    ASSERT_TRUE(ReadCurveFile(read, deviceName, folder + "Tonemark1.lut"));
    EXPECT_EQ(read.Gamma, 41);
    EXPECT_TRUE(WideFileExists(wideFolder + L"Tonemark1.lut"));

    const std::string settings = folder + "Tonemark.settings";
    ASSERT_TRUE(ShellPort::WriteIniStrings(settings, "Settings", {{"Language", "Fran\xE7" "ais"}}));
    ASSERT_TRUE(ShellPort::WriteIniStrings(settings, "Settings", {{"ReferenceImage", "r.jpg"}}));
    EXPECT_EQ(ShellPort::ReadIniString(settings, "Settings", "Language", ""), "Fran\xE7" "ais");
    EXPECT_TRUE(WideFileExists(wideFolder + L"Tonemark.settings"));
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileW((wideFolder + L"*.tmp").c_str(), &entry);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file was left";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
  }

  TempFolder temp;
};

TEST_F(AnsiFolders, AFolderNamedInTheCodePageIsUsedByItsName) {
  ASSERT_EQ(GetACP(), 1252u) << "the test's names are code page 1252";
  const std::string folder = temp.Folder() + "Donn\xE9" "es \x80\x8C\x8A\\";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  const std::wstring wideFolder = Wide(temp.Folder()) + L"Donn\u00E9es \u20AC\u0152\u0160\\";
  EXPECT_EQ(AnsiPath(wideFolder), folder);
  WriteAndReadBack(folder, wideFolder);
}

TEST_F(AnsiFolders, AFolderNamedOutsideTheCodePageIsReachedThroughItsShortName) {
  for (const std::wstring name : {L"\u041F\u0440\u0438\u0432\u0435\u0442", L"\u6570\u636E \u6821\u6B63"}) {
    const std::wstring wideFolder = Wide(temp.Folder()) + name + L"\\";
    ASSERT_TRUE(CreateDirectoryW(wideFolder.c_str(), nullptr));
    const std::string folder = AnsiPath(wideFolder);
    ASSERT_EQ(folder.find('?'), std::string::npos) << folder;
    WriteAndReadBack(folder, wideFolder);
  }
}

}  // namespace

// Tonemark.exe /load on Wine's own display, without TONEMARK_SIM: the program
// picks the GDI displays, finds Wine's monitor, and, the ramp being neither
// readable nor loadable there, reports what did not reach it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "ramp/curve_file.h"
#include "tests/platform/windows_displays/error_box_watch.h"
#include "tests/temp_folder.h"

namespace {
constexpr DWORD ProgramTimeoutMs = 120000;

// Tonemark.exe copied into a temporary folder, where it runs portable: its
// curve files lie beside it.
class PortableTonemark {
 public:
  PortableTonemark() {
    // The build hands over a Unix path; Wine reaches it through drive Z:.
    const char* built = std::getenv("TONEMARK_EXE");
    std::string path = built != nullptr && built[0] == '/' ? "Z:" : "";
    for (const char* c = built; c != nullptr && *c != '\0'; ++c) path += *c == '/' ? '\\' : *c;
    copied_ = CopyFileA(path.c_str(), folder_.File("Tonemark.exe").c_str(), FALSE);
    // Its messages come from the language files beside it.
    const std::string languages = path.substr(0, path.find_last_of('\\') + 1) + "Tonemark.languages\\";
    CreateDirectoryA(folder_.File("Tonemark.languages").c_str(), nullptr);
    CopyFileA((languages + "English.lang").c_str(), folder_.File("Tonemark.languages\\English.lang").c_str(),
              FALSE);
  }

  std::string Folder() const { return folder_.Folder(); }

  // Runs "Tonemark.exe <arguments>" to its end; false when it could not start or did not end.
  bool Run(const std::string& arguments, DWORD& exitCode) {
    if (!copied_) return false;
    SetEnvironmentVariableA("TONEMARK_SIM", nullptr);
    std::string commandLine = "\"";
    commandLine += folder_.File("Tonemark.exe") + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
      return false;
    CloseHandle(process.hThread);
    bool ended = WaitForSingleObject(process.hProcess, ProgramTimeoutMs) == WAIT_OBJECT_0;
    if (ended) {
      GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
      TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, ProgramTimeoutMs);
    }
    CloseHandle(process.hProcess);
    return ended;
  }

 private:
  TempFolder folder_;
  bool copied_ = false;
};

// Wine's display takes no ramp: what reached it is nothing, and load mode,
// reading it back, must say so rather than end as if it had loaded it, with
// what Windows users can do about a refused ramp.
TEST(TonemarkLoadOnWine, ReportsThatWinesDisplayDidNotTakeTheCurve) {
  PortableTonemark tonemark;
  TRampCurve curve;
  curve.White = -100;
  WriteBytes(tonemark.Folder() + "Tonemark1.lut", CurveFileText(curve, "\\\\.\\DISPLAY1"));
  DWORD exitCode = 99;
  std::vector<std::string> messages;
  {
    ErrorBoxWatch user;
    ASSERT_TRUE(tonemark.Run("/load", exitCode));
    messages = user.Texts();
  }
  EXPECT_EQ(exitCode, 1u);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].find("Display 1 ("), 0u) << messages[0];
  EXPECT_NE(messages[0].find(") did not keep its calibration"), std::string::npos) << messages[0];
  // Windows' own limit on ramps, and the way past it.
  EXPECT_NE(messages[0].find("registry value GdiIcmGammaRange"), std::string::npos) << messages[0];
  // Wine cannot say whether its display bypasses ramps: the user hears that as well.
  EXPECT_NE(messages[0].find("Windows could not say whether this display is in HDR"), std::string::npos)
      << messages[0];
}

TEST(TonemarkLoadOnWine, AnUnreadableCurveFileIsShownInAnErrorBoxAndEndsWithCode1) {
  PortableTonemark tonemark;
  // Line 2 is the device name; the values follow it.
  WriteBytes(tonemark.Folder() + "Tonemark1.lut", "RampCurve v.2\r\n\\\\.\\DISPLAY1\r\n12x\r\n");
  DWORD exitCode = 99;
  std::vector<std::string> messages;
  {
    ErrorBoxWatch user;
    ASSERT_TRUE(tonemark.Run("/load", exitCode));
    messages = user.Texts();
  }
  EXPECT_EQ(exitCode, 1u);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("Tonemark1.lut"), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find("Invalid numeric input"), std::string::npos) << messages[0];
}
}  // namespace

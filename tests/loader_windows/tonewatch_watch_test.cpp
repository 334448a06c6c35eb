// Tonewatch.exe's watch under Wine, on simulated displays (Wine on Xvfb takes
// no ramp at all): another program rewrites the display's ramp file, and the
// loader asks the stand-in Tonemark.exe to re-load that display by its
// identity, unless a listed program runs or a calibration window is open;
// replaced again after each of three re-loads, the display is given up.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/loader_windows/loader_sandbox.h"

namespace {

constexpr char Identity[] = "ACM-1A2B-5555";

std::string Ramp(double scale) {
  std::string values;
  for (int i = 0; i < 768; ++i) values += std::to_string(static_cast<int>(i % 256 * 257 * scale)) + " ";
  return values;
}

size_t Reloads(const LoaderSandbox& sandbox) {
  size_t count = 0;
  for (const RecordedStart& start : sandbox.Starts())
    count += start.CommandLine.find(std::string("/load /reapply ") + Identity) != std::string::npos;
  return count;
}

// "Tonewatch.exe /status" with its standard output in a file.
std::string Status(const LoaderSandbox& sandbox) {
  const std::string file = sandbox.InstallFolder() + "status.txt";
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + sandbox.InstallFolder() + "Tonewatch.exe\" /status";
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    WaitForSingleObject(process.hProcess, LoaderTimeoutMs);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  }
  CloseHandle(out);
  return ReadBytes(file);
}

class TonewatchWatch : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(sim_.Path());
    SetEnvironmentVariableA("TONEMARK_SIM", sim_.Folder().c_str());
    WriteBytes(sim_.File("ramp1.txt"), Ramp(0.8));
    WriteBytes(sandbox_.InstallFolder() + "Tonemark.shown",
               std::string("[Display1]\r\nIdentity=") + Identity +
                   "\r\nDevice=sim:1\r\nBackend=sim\r\nCurve=Tonemark1.lut\r\nLoaded=1765280000\r\nResult=kept\r\n"
                   "Reason=\r\nRamp=" + Ramp(0.8) +
                   "\r\n[Display2]\r\nIdentity=ACM-1A2B-DISPLAY2\r\nDevice=sim:2\r\nBackend=sim\r\nCurve=\r\n"
                   "Result=kept\r\nRamp=" + Ramp(1) + "\r\n");
  }
  void TearDown() override { SetEnvironmentVariableA("TONEMARK_SIM", nullptr); }

  // Another program's ramp on display 1; display 2, without a curve, gets one too.
  void ReplaceRamps() {
    WriteBytes(sim_.File("ramp1.txt"), Ramp(1));
    WriteBytes(sim_.File("ramp2.txt"), Ramp(0.5));
  }

  TempFolder sim_;
  LoaderSandbox sandbox_;
};

TEST_F(TonewatchWatch, AReplacedRampIsReloadedWithinThePeriodAndGivenUpWhenItStaysReplaced) {
  ASSERT_NE(sandbox_.StartLoader("/watch 1"), nullptr);
  ASSERT_TRUE(sandbox_.WaitForStarts(1));
  Sleep(1500);
  EXPECT_EQ(Reloads(sandbox_), 0u) << "the calibration shows";
  ReplaceRamps();
  const ULONGLONG replaced = GetTickCount64();
  ASSERT_TRUE(WaitUntil([&] { return Reloads(sandbox_) >= 1; }, 10000));
  EXPECT_LE(GetTickCount64() - replaced, 2500u);
  // The stand-in loads nothing: the ramp stays replaced after each re-load.
  ASSERT_TRUE(WaitUntil([&] { return Status(sandbox_).find("replaced 3 times") != std::string::npos; }, 20000));
  Sleep(2500);
  EXPECT_EQ(Reloads(sandbox_), 3u);
  const std::string status = Status(sandbox_);
  EXPECT_NE(status.find("Tonewatch is running and looks at the ramps every 1 s."), std::string::npos) << status;
  EXPECT_NE(status.find("re-loads today: 3\r\n  left alone: replaced 3 times in a row"), std::string::npos) << status;
  EXPECT_NE(status.find("curve: none of its own\r\n  last loaded: never\r\n  re-loads today: 0\r\n"
                        "  no curve of its own: never touched"),
            std::string::npos)
      << status;
}

TEST_F(TonewatchWatch, AListedProgramOrAnOpenCalibrationWindowKeepTheWatchAway) {
  // flux.exe, a copy of the stand-in that stays three seconds.
  TempFolder other;
  ASSERT_TRUE(CopyFileA((sandbox_.InstallFolder() + "Tonemark.exe").c_str(), other.File("flux.exe").c_str(), FALSE));
  WriteBytes(other.File("hold-ms.txt"), "3000");
  ASSERT_NE(sandbox_.StartLoader("/watch 1"), nullptr);
  ASSERT_TRUE(sandbox_.WaitForStarts(1));
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION flux{};
  std::string commandLine = "\"" + other.File("flux.exe") + "\"";
  ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &flux));
  ReplaceRamps();
  Sleep(2000);
  EXPECT_EQ(Reloads(sandbox_), 0u);
  EXPECT_NE(Status(sandbox_).find("left alone: flux.exe runs"), std::string::npos) << Status(sandbox_);
  WaitForSingleObject(flux.hProcess, LoaderTimeoutMs);
  CloseHandle(flux.hProcess);
  CloseHandle(flux.hThread);

  // A calibration window holds its session mutex for as long as it is open.
  HANDLE session = CreateMutexA(nullptr, TRUE, "Orvana.Tonemark");
  Sleep(2000);
  EXPECT_EQ(Reloads(sandbox_), 0u);
  EXPECT_NE(Status(sandbox_).find("left alone: a calibration window is open"), std::string::npos);
  CloseHandle(session);
  EXPECT_TRUE(WaitUntil([&] { return Reloads(sandbox_) >= 1; }, 5000));
}

TEST_F(TonewatchWatch, StatusWithoutARunningLoaderReadsTheLastLoadRun) {
  const std::string status = Status(sandbox_);
  EXPECT_EQ(status.rfind("Tonewatch is not running; as the last load run left the displays:\r\n"
                         "Display 1: ACM-1A2B-5555 (sim:1)\r\n  curve: Tonemark1.lut\r\n"
                         "  last loaded: 2025-12-09 11:33:20 UTC\r\n",
                         0),
            0u)
      << status;
  EXPECT_NE(status.find("not watched: Tonewatch is not running"), std::string::npos) << status;
}

}  // namespace

// One loader at a time: a second copy launches once and ends; "/uninstall"
// closes the running one.
#include <gtest/gtest.h>

#include "tests/loader_windows/loader_sandbox.h"

namespace {
// Far enough away that no timed launch interferes (Wine's timer refuses it outright).
constexpr const char* NoTimedLaunch = "/delay 300";
constexpr DWORD SettleMs = 3000;

TEST(TonewatchInstance, ASecondCopyLaunchesOnceAndEndsLeavingTheFirstRunning) {
  LoaderSandbox sandbox;
  HANDLE first = sandbox.StartLoader(NoTimedLaunch);
  ASSERT_NE(WaitForLoaderWindow(), nullptr);
  ASSERT_TRUE(sandbox.WaitForStarts(1));

  HANDLE second = sandbox.StartLoader("");
  DWORD exitCode = 1;
  ASSERT_TRUE(WaitForExit(second, exitCode));
  EXPECT_EQ(exitCode, 0u);
  ASSERT_TRUE(sandbox.WaitForStarts(2));
  Sleep(SettleMs);

  EXPECT_EQ(sandbox.Starts().size(), 2u);
  EXPECT_TRUE(IsRunning(first));
  EXPECT_NE(FindWindowA("TonewatchWnd", nullptr), nullptr);
}

TEST(TonewatchInstance, UninstallClosesTheRunningLoaderAndANewOneThenRunsNormally) {
  LoaderSandbox sandbox;
  HANDLE first = sandbox.StartLoader(NoTimedLaunch);
  ASSERT_NE(WaitForLoaderWindow(), nullptr);
  ASSERT_TRUE(sandbox.WaitForStarts(1));

  DWORD exitCode = 1;
  ASSERT_TRUE(WaitForExit(sandbox.StartLoader("/uninstall"), exitCode));
  EXPECT_EQ(exitCode, 0u);
  exitCode = 1;
  ASSERT_TRUE(WaitForExit(first, exitCode));
  EXPECT_EQ(exitCode, 0u);
  Sleep(SettleMs);
  EXPECT_EQ(sandbox.Starts().size(), 1u) << "\"/uninstall\" launches nothing";

  // The mutex went with the first loader, so this one stays.
  HANDLE next = sandbox.StartLoader(NoTimedLaunch);
  ASSERT_TRUE(sandbox.WaitForStarts(2));
  ASSERT_NE(WaitForLoaderWindow(), nullptr);
  EXPECT_TRUE(IsRunning(next));

  ASSERT_TRUE(WaitForExit(sandbox.StartLoader("/uninstall"), exitCode));
  ASSERT_TRUE(WaitForExit(next, exitCode));
  EXPECT_EQ(exitCode, 0u);
}

// An installer replaces the loader's file right after "/uninstall": by then
// the running loader must have ended.
TEST(TonewatchInstance, UninstallReturnsOnlyOnceTheRunningLoaderHasEnded) {
  LoaderSandbox sandbox;
  HANDLE first = sandbox.StartLoader(NoTimedLaunch);
  ASSERT_NE(WaitForLoaderWindow(), nullptr);
  ASSERT_TRUE(sandbox.WaitForStarts(1));
  DWORD exitCode = 1;
  ASSERT_TRUE(WaitForExit(sandbox.StartLoader("/uninstall"), exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_FALSE(IsRunning(first));
  const std::string loaderFile = sandbox.InstallFolder() + "Tonewatch.exe";
  HANDLE replacing = CreateFileA(loaderFile.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(replacing, INVALID_HANDLE_VALUE) << "error " << GetLastError();
  if (replacing != INVALID_HANDLE_VALUE) CloseHandle(replacing);
}

TEST(TonewatchInstance, UninstallWithNoLoaderRunningDoesNothing) {
  LoaderSandbox sandbox;
  DWORD exitCode = 1;
  ASSERT_TRUE(WaitForExit(sandbox.StartLoader("/uninstall"), exitCode));
  EXPECT_EQ(exitCode, 0u);
  Sleep(SettleMs);
  EXPECT_TRUE(sandbox.Starts().empty());
}
}  // namespace

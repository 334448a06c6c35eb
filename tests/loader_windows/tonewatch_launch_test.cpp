// When Tonewatch.exe starts Tonemark.exe, and with which command line.
#include <gtest/gtest.h>

#include "tests/loader_windows/loader_sandbox.h"

namespace {
// Long enough to see that no further launch follows.
constexpr DWORD SettleMs = 3000;

TEST(TonewatchLaunch, LaunchesAtOnceAndOnceMoreAfterTheGivenDelay) {
  LoaderSandbox sandbox;
  const ULONGLONG started = GetTickCount64();
  sandbox.StartLoader("/delay 1");
  ASSERT_TRUE(sandbox.WaitForStarts(2));
  Sleep(SettleMs);

  const std::vector<RecordedStart> starts = sandbox.Starts();
  ASSERT_EQ(starts.size(), 2u);
  // The timed launch cannot come before its second has passed, nor wait for the default ten.
  EXPECT_GE(starts[1].Tick, started + 1000);
  EXPECT_LT(starts[1].Tick, started + 10000);
  const std::string expected = "\"" + sandbox.InstallFolder() + "Tonemark.exe\" /load";
  EXPECT_EQ(starts[0].CommandLine, expected);
  EXPECT_EQ(starts[1].CommandLine, expected);
}

TEST(TonewatchLaunch, QuotesTheProgramPathSoABlankInTheFolderCannotStartAnotherProgram) {
  LoaderSandbox sandbox;
  sandbox.StartLoader("");
  ASSERT_TRUE(WaitUntil([&] { return !sandbox.Starts().empty() || sandbox.DecoyStarted(); }));
  EXPECT_FALSE(sandbox.DecoyStarted());
  EXPECT_EQ(sandbox.Starts().size(), 1u);
}

TEST(TonewatchLaunch, WithoutADelayOptionTheTimedLaunchComesAfterTenSeconds) {
  LoaderSandbox sandbox;
  const ULONGLONG started = GetTickCount64();
  sandbox.StartLoader("");
  ASSERT_TRUE(sandbox.WaitForStarts(1));
  // Nothing may follow before the ten seconds are over, whatever Wine's pace.
  const ULONGLONG beforeTen = started + 9000;
  if (GetTickCount64() < beforeTen) Sleep(static_cast<DWORD>(beforeTen - GetTickCount64()));
  EXPECT_EQ(sandbox.Starts().size(), 1u);

  ASSERT_TRUE(sandbox.WaitForStarts(2));
  EXPECT_GE(sandbox.Starts()[1].Tick, started + 10000);
}
}  // namespace

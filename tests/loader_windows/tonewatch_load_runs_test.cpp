// The loader's own load-mode runs never overlap: a launch asked for while one
// runs waits for its end, and launches asked for meanwhile make one run.
#include <gtest/gtest.h>

#include "tests/loader_windows/loader_sandbox.h"

namespace {
constexpr UINT PowerBroadcast = 0x218;
constexpr WPARAM ResumeSuspend = 7;
constexpr DWORD RunMs = 4000;
constexpr DWORD SettleMs = 1500;

TEST(TonewatchLoadRuns, LaunchesDuringARunWaitForItsEndAndMakeOneMoreRun) {
  LoaderSandbox sandbox;
  sandbox.HoldEachRun(RunMs);
  HANDLE loader = sandbox.StartLoader("/delay 300");
  HWND window = WaitForLoaderWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(sandbox.WaitForStarts(1));
  ASSERT_TRUE(sandbox.Ends().empty()) << "the first run ended before the resumes came";

  for (int i = 0; i < 3; ++i) PostMessageA(window, PowerBroadcast, ResumeSuspend, 0);
  ASSERT_TRUE(WaitUntil([&] { return sandbox.Ends().size() >= 2; }));
  Sleep(SettleMs);
  const std::vector<RecordedStart> starts = sandbox.Starts();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_GE(starts[1].Tick, sandbox.Ends()[0].Tick);
  EXPECT_TRUE(IsRunning(loader));
}
}  // namespace

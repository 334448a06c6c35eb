// Resume broadcasts: only a resume after suspend (7) or after a critical
// suspend (6) launches load mode.
#include <gtest/gtest.h>

#include "tests/loader_windows/loader_sandbox.h"

namespace {
constexpr UINT PowerBroadcast = 0x218;
constexpr WPARAM ResumeCritical = 6;
constexpr WPARAM ResumeSuspend = 7;
constexpr WPARAM ResumeAutomatic = 18;
constexpr WPARAM PowerSettingChange = 0x8013;
constexpr DWORD SettleMs = 3000;

TEST(TonewatchResume, LaunchesForResumeSuspendAndResumeCriticalOnly) {
  LoaderSandbox sandbox;
  HANDLE loader = sandbox.StartLoader("/delay 300");
  HWND window = WaitForLoaderWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(sandbox.WaitForStarts(1));

  // Posted in order, so a launch for 18 or the setting change would come before 6's.
  PostMessageA(window, PowerBroadcast, ResumeAutomatic, 0);
  PostMessageA(window, PowerBroadcast, PowerSettingChange, 0);
  PostMessageA(window, PowerBroadcast, ResumeCritical, 0);
  ASSERT_TRUE(sandbox.WaitForStarts(2));
  PostMessageA(window, PowerBroadcast, ResumeSuspend, 0);
  ASSERT_TRUE(sandbox.WaitForStarts(3));
  PostMessageA(window, PowerBroadcast, ResumeSuspend, 0);
  ASSERT_TRUE(sandbox.WaitForStarts(4));
  Sleep(SettleMs);

  EXPECT_EQ(sandbox.Starts().size(), 4u);
  EXPECT_TRUE(IsRunning(loader));
}
}  // namespace

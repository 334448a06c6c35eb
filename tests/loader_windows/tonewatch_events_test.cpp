// Display changes and the session's return to the user (unlock, console
// connect) launch load mode a second after the last of them, once for a burst.
#include <gtest/gtest.h>

#include "tests/loader_windows/loader_sandbox.h"

namespace {
constexpr UINT DisplayChange = 0x7E;
constexpr UINT SessionChange = 0x2B1;
constexpr WPARAM ConsoleConnect = 1;
constexpr WPARAM RemoteConnect = 3;
constexpr WPARAM SessionLock = 7;
constexpr WPARAM SessionUnlock = 8;
constexpr ULONGLONG SettleDelayMs = 1000;
constexpr DWORD SettleMs = 3000;

struct EventCase {
  UINT Message;
  WPARAM Change;
};

TEST(TonewatchEvents, EachLaunchesOnceASecondLaterAndABurstOfThemOnce) {
  LoaderSandbox sandbox;
  HANDLE loader = sandbox.StartLoader("/delay 300");
  HWND window = WaitForLoaderWindow();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(sandbox.WaitForStarts(1));

  // Locking, or a remote connection, is no return to this console.
  PostMessageA(window, SessionChange, SessionLock, 0);
  PostMessageA(window, SessionChange, RemoteConnect, 0);
  Sleep(SettleMs);
  EXPECT_EQ(sandbox.Starts().size(), 1u);
  const EventCase cases[] = {{DisplayChange, 0}, {SessionChange, SessionUnlock}, {SessionChange, ConsoleConnect}};
  size_t expected = 1;
  for (const EventCase& each : cases) {
    SCOPED_TRACE(each.Change);
    const ULONGLONG posted = GetTickCount64();
    PostMessageA(window, each.Message, each.Change, 0);
    ASSERT_TRUE(sandbox.WaitForStarts(++expected));
    EXPECT_GE(sandbox.Starts().back().Tick + 20, posted + SettleDelayMs);  // 20: the tick's granularity
  }
  for (int i = 0; i < 3; ++i) {
    for (const EventCase& each : cases) PostMessageA(window, each.Message, each.Change, 0);
  }
  ASSERT_TRUE(sandbox.WaitForStarts(5));
  Sleep(SettleMs);
  EXPECT_EQ(sandbox.Starts().size(), 5u);
  EXPECT_TRUE(IsRunning(loader));
}

}  // namespace

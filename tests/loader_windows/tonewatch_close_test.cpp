// Closing the loader's window ends its timed launch first, so that no launch
// can come from the timer's thread while the loader tears down.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include "loader/windows/load_timer.h"
#include "loader/windows/loader_window.h"

namespace {
TEST(TonewatchClose, CloseKillsTheTimerOfTheTimedLaunch) {
  HWND window = CreateLoaderWindow(GetModuleHandleA(nullptr));
  ASSERT_NE(window, nullptr);
  StartLoadTimer(60000, window);  // within what Wine's multimedia timer accepts
  const UINT timer = LoadTimerId();
  ASSERT_NE(timer, 0u);

  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(LoadTimerId(), 0u);
  EXPECT_NE(timeKillEvent(timer), static_cast<MMRESULT>(TIMERR_NOERROR)) << "the timer is gone";
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // the loop would end
}
}  // namespace

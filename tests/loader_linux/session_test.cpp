// Launches when the session comes back to the user, as logind reports it on
// the system bus (a private daemon here): made active again, unlocked, or
// asked to unlock, each a second after the news. (A burst of news giving one
// launch is shown with display changes, on Xvfb.)
#include <gtest/gtest.h>

#include <thread>

#include "tests/loader_linux/loader_folder.h"
#include "tests/loader_linux/private_bus.h"

namespace {

constexpr auto Settle = std::chrono::milliseconds(1500);  // past the loader's one-second delay

class TonewatchSession : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(bus_.IsUp());
    folder_.SetVariable("DBUS_SYSTEM_BUS_ADDRESS", bus_.Address());
    loader_.emplace(folder_.Start({"/delay", "60"}));
    ASSERT_TRUE(folder_.WaitForStarts(1, 5));
    ASSERT_TRUE(bus_.WaitForLoader(loader_->Pid(), 5));
  }

  PrivateBus bus_;
  LoaderFolder folder_;
  std::optional<LoaderProcess> loader_;
};

TEST_F(TonewatchSession, ActiveUnlockedOrAskedToUnlockEachLaunchOnceAboutASecondLater) {
  for (int each = 0; each < 3; ++each) {
    SCOPED_TRACE(each);
    auto sent = std::chrono::system_clock::now();
    if (each == 0) bus_.EmitSessionProperty("Active", true);
    if (each == 1) bus_.EmitSessionProperty("LockedHint", false);
    if (each == 2) bus_.EmitUnlock();
    ASSERT_TRUE(folder_.WaitForStarts(2 + each, 5));
    double after = std::chrono::duration<double>(folder_.Starts().back().Time - sent).count();
    EXPECT_GE(after, 0.95);
    EXPECT_LT(after, 2.5);
  }
  std::this_thread::sleep_for(Settle);
  EXPECT_EQ(folder_.Starts().size(), 4u);
  EXPECT_EQ(folder_.Starts().back().Parent, loader_->Pid());
}

TEST_F(TonewatchSession, LeavingOrLockingTheSessionAndForgedNewsLaunchNothing) {
  bus_.ForgeSessionProperty("Active", true);
  bus_.ForgeSessionProperty("LockedHint", false);
  bus_.EmitSessionProperty("Active", false);
  bus_.EmitSessionProperty("LockedHint", true);
  std::this_thread::sleep_for(Settle);
  EXPECT_EQ(folder_.Starts().size(), 1u);
}

}  // namespace

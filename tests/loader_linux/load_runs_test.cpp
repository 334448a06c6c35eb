// The loader's own load-mode runs never overlap: a launch asked for while
// one runs waits for its end, and launches asked for meanwhile make one run.
#include <gtest/gtest.h>

#include <thread>

#include "tests/loader_linux/loader_folder.h"
#include "tests/loader_linux/private_bus.h"

namespace {

TEST(TonewatchLoadRuns, LaunchesDuringARunWaitForItsEndAndMakeOneMoreRun) {
  PrivateBus bus;
  LoaderFolder folder;
  ASSERT_TRUE(bus.IsUp());
  folder.SetVariable("DBUS_SYSTEM_BUS_ADDRESS", bus.Address());
  folder.HoldEachRun(2);
  LoaderProcess loader = folder.Start({"/delay", "60"});
  ASSERT_TRUE(folder.WaitForStarts(1, 5));
  ASSERT_TRUE(bus.WaitForLoader(loader.Pid(), 5));
  ASSERT_TRUE(folder.Ends().empty()) << "the first run ended before the resumes came";

  for (int i = 0; i < 3; ++i) bus.EmitPrepareForSleep(false);
  ASSERT_TRUE(folder.WaitForStarts(2, 5));
  ASSERT_TRUE(WaitUntil(5, [&] { return folder.Ends().size() >= 2; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  const std::vector<TonemarkStart> starts = folder.Starts();
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_GE(starts[1].Time, folder.Ends()[0]);
  EXPECT_EQ(starts[1].Parent, loader.Pid());
}

}  // namespace

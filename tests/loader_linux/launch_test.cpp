// When tonewatch launches the calibration program: at once, after its delay,
// and from its own folder.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <thread>

#include "tests/loader_linux/loader_folder.h"

namespace {

TEST(TonewatchLaunch, AtOnceAndAgainAfterItsDelayWithoutASystemBus) {
  LoaderFolder folder;
  LoaderProcess loader = folder.Start({"/delay", "1"});
  ASSERT_TRUE(folder.WaitForStarts(2, 5));
  std::vector<TonemarkStart> starts = folder.Starts();
  EXPECT_LT(SecondsAfter(loader, starts[0]), 1.5);
  EXPECT_GE(SecondsAfter(loader, starts[1]), 0.95);
  EXPECT_LT(SecondsAfter(loader, starts[1]), 2.5);
  for (const TonemarkStart& start : starts) {
    EXPECT_EQ(start.Arguments, "/load");
    EXPECT_EQ(start.Parent, loader.Pid());
  }

  // The timed launch happens once; the loader waits on.
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_EQ(folder.Starts().size(), 2u);
  EXPECT_TRUE(loader.IsRunning());
}

TEST(TonewatchLaunch, DelayFallsBackToTenSecondsAndReadsLeadingDigits) {
  struct Case {
    std::vector<std::string> Args;
    double DelaySeconds;
  };
  const std::vector<Case> cases = {{{}, 10},
                                   {{"/delay", "0"}, 10},
                                   {{"/delay", "word"}, 10},
                                   {{"/delay"}, 10},
                                   {{"/delay", "2147484"}, 10},
                                   {{"/delay", "5abc"}, 5}};
  // All at once, so the case takes ten seconds rather than a minute.
  std::vector<std::unique_ptr<LoaderFolder>> folders;
  std::vector<LoaderProcess> loaders;
  for (const Case& each : cases) {
    folders.push_back(std::make_unique<LoaderFolder>());
    loaders.push_back(folders.back()->Start(each.Args));
  }
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(testing::PrintToString(cases[i].Args));
    ASSERT_TRUE(folders[i]->WaitForStarts(2, 15));
    std::vector<TonemarkStart> starts = folders[i]->Starts();
    EXPECT_LT(SecondsAfter(loaders[i], starts[0]), 1.5);
    EXPECT_GE(SecondsAfter(loaders[i], starts[1]), cases[i].DelaySeconds - 0.05);
    EXPECT_LT(SecondsAfter(loaders[i], starts[1]), cases[i].DelaySeconds + 2.5);
  }
}

TEST(TonewatchLaunch, KeepsClearOfTheCppRuntime) {
#ifdef TONEMARK_SANITIZED
  GTEST_SKIP() << "the sanitizers' runtime brings in the C++ runtime; the plain build checks this";
#endif
  LoaderFolder folder;
  LoaderProcess loader = folder.Start({"/delay", "60"});
  ASSERT_TRUE(folder.WaitForStarts(1, 5));
  ASSERT_TRUE(loader.IsRunning());
  std::ifstream maps("/proc/" + std::to_string(loader.Pid()) + "/maps");
  std::string text((std::istreambuf_iterator<char>(maps)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("/tonewatch"), std::string::npos);
  EXPECT_EQ(text.find("libstdc++"), std::string::npos);
}

}  // namespace

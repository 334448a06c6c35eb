// Launches after resume from suspend, as logind reports it on the system bus
// (a private daemon here), and no zombie children however many launches.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "tests/loader_linux/loader_folder.h"
#include "tests/loader_linux/private_bus.h"

namespace {

constexpr auto Settle = std::chrono::milliseconds(300);

// User and system time of a process, in clock ticks.
long CpuTicks(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string skipped;
  for (int i = 0; i < 11; ++i) fields >> skipped;  // state .. cmajflt
  long user = 0;
  long system = 0;
  fields >> user >> system;
  return user + system;
}

struct ResumeSetup {
  PrivateBus Bus;
  LoaderFolder Folder;
};

LoaderProcess StartOnBus(ResumeSetup& setup, const std::vector<std::string>& args) {
  setup.Folder.SetVariable("DBUS_SYSTEM_BUS_ADDRESS", setup.Bus.Address());
  return setup.Folder.Start(args);
}

TEST(TonewatchResume, LaunchesOnceForEveryResumeThatLogindReports) {
  ResumeSetup setup;
  ASSERT_TRUE(setup.Bus.IsUp());
  LoaderProcess loader = StartOnBus(setup, {"/delay", "60"});
  ASSERT_TRUE(setup.Folder.WaitForStarts(1, 5));
  ASSERT_TRUE(setup.Bus.WaitForLoader(loader.Pid(), 5));

  // One at a time: resumes during a load make one more load, not one each.
  for (size_t starts = 2; starts <= 4; ++starts) {
    setup.Bus.EmitPrepareForSleep(false);
    ASSERT_TRUE(setup.Folder.WaitForStarts(starts, 5));
  }
  std::this_thread::sleep_for(Settle);
  std::vector<TonemarkStart> starts = setup.Folder.Starts();
  ASSERT_EQ(starts.size(), 4u);
  for (const TonemarkStart& start : starts) {
    EXPECT_EQ(start.Arguments, "/load");
    EXPECT_EQ(start.Parent, loader.Pid());
  }
}

TEST(TonewatchResume, GoingToSleepAndForgedResumesLaunchNothing) {
  ResumeSetup setup;
  ASSERT_TRUE(setup.Bus.IsUp());
  LoaderProcess loader = StartOnBus(setup, {"/delay", "60"});
  ASSERT_TRUE(setup.Folder.WaitForStarts(1, 5));
  ASSERT_TRUE(setup.Bus.WaitForLoader(loader.Pid(), 5));

  // Signals from one sender arrive in order, and the forged one has been
  // dealt with by the daemon before logind speaks: once the real resume has
  // launched, anything the others would have launched would be there too.
  setup.Bus.ForgePrepareForSleep(false);
  setup.Bus.EmitPrepareForSleep(true);
  setup.Bus.EmitPrepareForSleep(false);
  ASSERT_TRUE(setup.Folder.WaitForStarts(2, 5));
  std::this_thread::sleep_for(Settle);
  EXPECT_EQ(setup.Folder.Starts().size(), 2u);
}

TEST(TonewatchResume, LeavesNoZombieChildrenAfterManyLaunches) {
  ResumeSetup setup;
  ASSERT_TRUE(setup.Bus.IsUp());
  LoaderProcess loader = StartOnBus(setup, {"/delay", "1"});
  ASSERT_TRUE(setup.Bus.WaitForLoader(loader.Pid(), 5));
  ASSERT_TRUE(setup.Folder.WaitForStarts(2, 5));
  // One at a time: resumes during a load make one more load, not one each.
  for (size_t starts = 3; starts <= 8; ++starts) {
    setup.Bus.EmitPrepareForSleep(false);
    ASSERT_TRUE(setup.Folder.WaitForStarts(starts, 5));
  }

  bool allGone = WaitUntil(5, [&] { return ChildCount(loader.Pid()) == 0; });
  EXPECT_TRUE(allGone) << ZombieChildCount(loader.Pid()) << " zombie children";
  EXPECT_TRUE(loader.IsRunning());
}

TEST(TonewatchResume, ConnectsAgainWhenTheBusComesBack) {
  ResumeSetup setup;
  ASSERT_TRUE(setup.Bus.IsUp());
  LoaderProcess loader = StartOnBus(setup, {"/delay", "60"});
  ASSERT_TRUE(setup.Bus.WaitForLoader(loader.Pid(), 5));
  setup.Bus.Stop();
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // a first retry finds no bus
  setup.Bus.Start();
  ASSERT_TRUE(setup.Bus.IsUp());

  ASSERT_TRUE(setup.Bus.WaitForLoader(loader.Pid(), 10));
  setup.Bus.EmitPrepareForSleep(false);
  ASSERT_TRUE(setup.Folder.WaitForStarts(2, 5));
  EXPECT_EQ(setup.Folder.Starts()[1].Parent, loader.Pid());
}

TEST(TonewatchResume, RunsOnWhenTheBusGoesAway) {
  ResumeSetup setup;
  ASSERT_TRUE(setup.Bus.IsUp());
  LoaderProcess loader = StartOnBus(setup, {"/delay", "2"});
  ASSERT_TRUE(setup.Bus.WaitForLoader(loader.Pid(), 5));
  setup.Bus.Stop();
  long ticksAtStop = CpuTicks(loader.Pid());

  ASSERT_TRUE(setup.Folder.WaitForStarts(2, 5));
  EXPECT_GE(SecondsAfter(loader, setup.Folder.Starts()[1]), 1.95);
  EXPECT_TRUE(loader.IsRunning());
  EXPECT_LT(CpuTicks(loader.Pid()) - ticksAtStop, 10) << "it waits, it does not spin";
  EXPECT_EQ(setup.Folder.Run({"/uninstall"}), 0);
  EXPECT_EQ(loader.WaitForExitCode(1), 0);
}

}  // namespace

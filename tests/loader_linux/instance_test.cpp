// One loader per user: a second copy launches once and ends, "/uninstall"
// closes the running one, and signals end it cleanly.
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "tests/loader_linux/loader_folder.h"

namespace {

constexpr char LockName[] = "Orvana.Tonewatch.lock";
constexpr char SocketName[] = "Orvana.Tonewatch.socket";

mode_t ModeOf(const std::string& path) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return 0;
  return info.st_mode;
}

TEST(TonewatchInstance, LockAndSocketArePrivateToTheUser) {
  LoaderFolder folder;
  LoaderProcess loader = folder.Start({"/delay", "60"});
  ASSERT_TRUE(folder.WaitForStarts(1, 5));
  ASSERT_TRUE(WaitUntil(5, [&] { return ModeOf(folder.RuntimeFile(SocketName)) != 0; }));
  EXPECT_EQ(ModeOf(folder.RuntimeFile(LockName)), S_IFREG | 0600);
  EXPECT_EQ(ModeOf(folder.RuntimeFile(SocketName)), S_IFSOCK | 0600);
}

TEST(TonewatchInstance, SecondCopyLaunchesOnceAndEndsWhileTheFirstRunsOn) {
  LoaderFolder folder;
  LoaderProcess first = folder.Start({"/delay", "60"});
  ASSERT_TRUE(folder.WaitForStarts(1, 5));
  ASSERT_TRUE(WaitUntil(5, [&] { return ModeOf(folder.RuntimeFile(SocketName)) != 0; }));

  EXPECT_EQ(folder.Run({"/delay", "1"}, 5), 0);
  ASSERT_TRUE(folder.WaitForStarts(2, 5));
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // past the copy's delay
  EXPECT_EQ(folder.Starts().size(), 2u);
  EXPECT_TRUE(first.IsRunning());
}

TEST(TonewatchInstance, UninstallClosesTheRunningLoaderAndANewOneRunsNormally) {
  LoaderFolder folder;
  LoaderProcess first = folder.Start({"/delay", "60"});
  ASSERT_TRUE(folder.WaitForStarts(1, 5));
  ASSERT_TRUE(WaitUntil(5, [&] { return ModeOf(folder.RuntimeFile(SocketName)) != 0; }));

  EXPECT_EQ(folder.Run({"/uninstall"}), 0);
  // "/uninstall" returns once the loader has let go of its lock.
  EXPECT_EQ(first.WaitForExitCode(1), 0);
  EXPECT_EQ(ModeOf(folder.RuntimeFile(SocketName)), 0u);
  EXPECT_EQ(folder.Starts().size(), 1u);

  LoaderProcess next = folder.Start({"/delay", "1"});
  ASSERT_TRUE(folder.WaitForStarts(3, 5));
  EXPECT_TRUE(next.IsRunning());
  EXPECT_EQ(folder.Starts()[2].Parent, next.Pid());
  EXPECT_EQ(folder.Run({}), 0);  // and it is the one holding the lock
  EXPECT_TRUE(folder.WaitForStarts(4, 5));
  EXPECT_TRUE(next.IsRunning());
  EXPECT_EQ(folder.Run({"/uninstall"}), 0);
  EXPECT_EQ(next.WaitForExitCode(1), 0);
}

int ConnectTo(const std::string& path) {
  int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address);
  return connection;
}

TEST(TonewatchInstance, ClientsThatSayNothingNeitherStallItNorKeepUninstallOut) {
  LoaderFolder folder;
  LoaderProcess loader = folder.Start({"/delay", "60"});
  ASSERT_TRUE(WaitUntil(5, [&] { return ModeOf(folder.RuntimeFile(SocketName)) != 0; }));
  std::vector<int> silent;
  for (int i = 0; i < 6; ++i) silent.push_back(ConnectTo(folder.RuntimeFile(SocketName)));

  auto asked = std::chrono::steady_clock::now();
  EXPECT_EQ(folder.Run({"/uninstall"}), 0);
  EXPECT_EQ(loader.WaitForExitCode(1), 0);
  // Served one at a time with a wait for each, six would take six seconds.
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count(), 2.5);
  for (int connection : silent) close(connection);
}

TEST(TonewatchInstance, UninstallWithNoLoaderRunningDoesNothing) {
  LoaderFolder folder;
  EXPECT_EQ(folder.Run({"/uninstall"}), 0);
  EXPECT_EQ(folder.Run({"/uninstall", "/delay", "1"}), 0);
  EXPECT_TRUE(folder.Starts().empty());
  EXPECT_TRUE(std::filesystem::is_empty(folder.RuntimeFolder()));
}

TEST(TonewatchInstance, TermAndInterruptEndItCleanly) {
  for (int signalNumber : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signalNumber);
    LoaderFolder folder;
    LoaderProcess loader = folder.Start({"/delay", "60"});
    ASSERT_TRUE(folder.WaitForStarts(1, 5));
    ASSERT_TRUE(WaitUntil(5, [&] { return ModeOf(folder.RuntimeFile(SocketName)) != 0; }));
    kill(loader.Pid(), signalNumber);
    EXPECT_EQ(loader.WaitForExitCode(5), 0);
    EXPECT_EQ(ModeOf(folder.RuntimeFile(SocketName)), 0u);

    LoaderProcess next = folder.Start({"/delay", "60"});
    ASSERT_TRUE(folder.WaitForStarts(2, 5));
    ASSERT_TRUE(WaitUntil(5, [&] { return ModeOf(folder.RuntimeFile(SocketName)) != 0; }));
    EXPECT_TRUE(next.IsRunning());
  }
}

TEST(TonewatchInstance, KilledLoaderLeavesNothingThatBlocksTheNext) {
  LoaderFolder folder;
  LoaderProcess killed = folder.Start({"/delay", "60"});
  ASSERT_TRUE(WaitUntil(5, [&] { return ModeOf(folder.RuntimeFile(SocketName)) != 0; }));
  kill(killed.Pid(), SIGKILL);
  killed.WaitForExitCode(5);

  LoaderProcess next = folder.Start({"/delay", "60"});
  ASSERT_TRUE(folder.WaitForStarts(2, 5));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_TRUE(next.IsRunning());
  EXPECT_EQ(folder.Run({"/uninstall"}), 0);
  EXPECT_EQ(next.WaitForExitCode(1), 0);
}

}  // namespace

// Where the lock and socket live, and what is never trusted there: a link in
// place of the lock, a folder open to others or owned by someone else, and a
// socket that another user owns or serves.
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/loader_linux/loader_folder.h"

namespace {

constexpr char LockName[] = "Orvana.Tonewatch.lock";
constexpr char SocketName[] = "Orvana.Tonewatch.socket";
constexpr uid_t OtherUser = 65534;

std::string LogindFolder() { return "/run/user/" + std::to_string(geteuid()); }

// Where a loader goes without a usable XDG_RUNTIME_DIR: logind's folder for
// the user where there is one, else its own folder in /tmp.
std::string FallbackFolder() {
  struct stat info;
  if (lstat(LogindFolder().c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
      (info.st_mode & 077) == 0) {
    return LogindFolder();
  }
  return "/tmp/Orvana.Tonewatch-" + std::to_string(geteuid());
}

struct stat StatOf(const std::string& path) {
  struct stat info = {};
  lstat(path.c_str(), &info);
  return info;
}

// Removes the /tmp folder afterwards when the test made it.
class FallbackFolderGuard {
 public:
  FallbackFolderGuard() : existed_(std::filesystem::exists(FallbackFolder())) {}
  ~FallbackFolderGuard() {
    std::error_code ignored;
    if (!existed_) std::filesystem::remove_all(FallbackFolder(), ignored);
  }

 private:
  bool existed_;
};

int ListenAt(const std::string& path) {
  int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(listener);
    return -1;
  }
  return listener;
}

// Bytes that arrive on one connection to listener within the time; -1 when
// nobody connects.
int BytesReceived(int listener, int waitMs) {
  pollfd incoming = {listener, POLLIN, 0};
  if (poll(&incoming, 1, waitMs) <= 0) return -1;
  int connection = accept(listener, nullptr, nullptr);
  int total = 0;
  char bytes[16];
  pollfd data = {connection, POLLIN, 0};
  while (poll(&data, 1, waitMs) > 0) {
    ssize_t count = recv(connection, bytes, sizeof bytes, 0);
    if (count <= 0) break;
    total += static_cast<int>(count);
  }
  close(connection);
  return total;
}

TEST(TonewatchRuntimeFolder, LinkInPlaceOfTheLockIsNeverFollowed) {
  LoaderFolder folder;
  TempFolder elsewhere;
  WriteBytes(elsewhere.File("target"), "keep");
  std::filesystem::create_symlink(elsewhere.File("target"), folder.RuntimeFile(LockName));

  // Without a lock it can trust, the loader ends as a second copy would.
  EXPECT_EQ(folder.Run({"/delay", "1"}, 5), 0);
  EXPECT_TRUE(folder.WaitForStarts(1, 5));
  EXPECT_EQ(folder.Starts().size(), 1u);
  EXPECT_EQ(ReadBytes(elsewhere.File("target")), "keep");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.RuntimeFile(LockName)));
}

TEST(TonewatchRuntimeFolder, UnsafeOrMissingRuntimeFolderGivesWayToAPrivateOne) {
  enum Setup { OpenToOthers, NotSet, ALink, AnotherUsers };
  for (Setup setup : {OpenToOthers, NotSet, ALink, AnotherUsers}) {
    if (setup == AnotherUsers && geteuid() != 0) continue;  // only root can give a folder away
    SCOPED_TRACE(setup);
    FallbackFolderGuard guard;
    LoaderFolder folder;
    if (setup == OpenToOthers) chmod(folder.RuntimeFolder().c_str(), 0755);
    if (setup == NotSet) folder.RemoveVariable("XDG_RUNTIME_DIR");
    if (setup == ALink) {
      std::filesystem::create_directory_symlink(folder.RuntimeFolder(), folder.Folder() + "link");
      folder.SetVariable("XDG_RUNTIME_DIR", folder.Folder() + "link");
    }
    if (setup == AnotherUsers) {
      ASSERT_EQ(chown(folder.RuntimeFolder().c_str(), OtherUser, OtherUser), 0);
    }

    LoaderProcess loader = folder.Start({"/delay", "60"});
    ASSERT_TRUE(folder.WaitForStarts(1, 5));
    std::string socketPath = FallbackFolder() + "/" + SocketName;
    ASSERT_TRUE(WaitUntil(5, [&] { return std::filesystem::exists(socketPath); }));
    EXPECT_TRUE(std::filesystem::is_empty(folder.RuntimeFolder()));
    EXPECT_EQ(StatOf(FallbackFolder()).st_mode, S_IFDIR | 0700);
    EXPECT_EQ(StatOf(FallbackFolder()).st_uid, geteuid());
    EXPECT_EQ(StatOf(FallbackFolder() + "/" + LockName).st_mode, S_IFREG | 0600);
    EXPECT_EQ(StatOf(socketPath).st_mode, S_IFSOCK | 0600);

    EXPECT_EQ(folder.Run({}), 0);  // a second copy finds the lock there
    EXPECT_TRUE(folder.WaitForStarts(2, 5));
    EXPECT_EQ(folder.Run({"/uninstall"}), 0);
    EXPECT_EQ(loader.WaitForExitCode(1), 0);
  }
}

TEST(TonewatchRuntimeFolder, WithOrWithoutTheVariableThereIsOneLoader) {
  // As the variable names logind's folder in a session, a start without it
  // (cron, su, ssh) must find the same lock there.
  struct MadeHere {
    bool Made = false;
    ~MadeHere() {
      std::error_code ignored;
      if (Made) std::filesystem::remove_all(LogindFolder(), ignored);
    }
  } logind;
  if (!std::filesystem::exists(LogindFolder())) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to stand in for logind's folder";
    logind.Made = std::filesystem::create_directories(LogindFolder());
    chmod(LogindFolder().c_str(), 0700);
  }
  if (std::filesystem::exists(LogindFolder() + "/" + SocketName)) GTEST_SKIP() << "this user's loader runs";
  LoaderFolder folder;
  folder.SetVariable("XDG_RUNTIME_DIR", LogindFolder());
  LoaderProcess first = folder.Start({"/delay", "60"});
  ASSERT_TRUE(WaitUntil(5, [&] { return std::filesystem::exists(LogindFolder() + "/" + SocketName); }));

  folder.RemoveVariable("XDG_RUNTIME_DIR");
  EXPECT_EQ(folder.Run({"/delay", "1"}, 5), 0);  // a second copy ends at once
  EXPECT_TRUE(first.IsRunning());
  EXPECT_EQ(folder.Run({"/uninstall"}), 0);
  EXPECT_EQ(first.WaitForExitCode(1), 0);
}

TEST(TonewatchRuntimeFolder, UninstallLeavesASocketOfAnotherUserAlone) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to give a socket to another user";
  LoaderFolder folder;
  int listener = ListenAt(folder.RuntimeFile(SocketName));
  ASSERT_GE(listener, 0);
  ASSERT_EQ(listen(listener, 1), 0);
  // While the socket is this user's, "/uninstall" does ask it to close: what
  // follows is not passed only because it looked elsewhere.
  LoaderProcess asking = folder.Start({"/uninstall"});
  EXPECT_EQ(BytesReceived(listener, 2000), 5);
  EXPECT_EQ(asking.WaitForExitCode(5), 0);
  ASSERT_EQ(lchown(folder.RuntimeFile(SocketName).c_str(), OtherUser, OtherUser), 0);

  EXPECT_EQ(folder.Run({"/uninstall"}), 0);
  EXPECT_EQ(BytesReceived(listener, 200), -1);
  close(listener);
}

TEST(TonewatchRuntimeFolder, UninstallSaysNothingToASocketServedByAnotherUser) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to serve a socket as another user";
  LoaderFolder folder;
  int listener = ListenAt(folder.RuntimeFile(SocketName));
  ASSERT_GE(listener, 0);
  // The peer's credentials are those of whoever called listen().
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  pid_t server = fork();
  if (server == 0) {
    if (setgid(OtherUser) != 0 || setuid(OtherUser) != 0 || listen(listener, 1) != 0) _exit(100);
    close(ready[1]);
    _exit(BytesReceived(listener, 5000) == 0 ? 0 : 1);
  }
  close(listener);
  close(ready[1]);
  char ignored;
  ASSERT_EQ(read(ready[0], &ignored, 1), 0);  // the server has listened
  close(ready[0]);

  EXPECT_EQ(folder.Run({"/uninstall"}), 0);
  int status = 0;
  waitpid(server, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "0: connected and was told nothing";
}

}  // namespace

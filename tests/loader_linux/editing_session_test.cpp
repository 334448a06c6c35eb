// While a calibration session is open (a scripted session of the built
// tonemark on simulated displays here), the loader launches nothing: a load
// would show the stored curve under the session's preview. It launches once
// the session ends.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "tests/loader_linux/loader_folder.h"

namespace {

// The session reads its actions from a pipe: closing it ends the session as
// the window's close command would.
class ScriptedSession {
 public:
  explicit ScriptedSession(const LoaderFolder& folder) {
    const std::string sim = folder.Folder() + "sim";
    std::filesystem::create_directory(sim);
    WriteBytes(sim + "/displays.ini", "[Monitor1]\n");
    std::vector<std::string> environment = {"PATH=/usr/bin:/bin", "TONEMARK_SCRIPT=1", "TONEMARK_SIM=" + sim,
                                            "XDG_RUNTIME_DIR=" + folder.RuntimeFolder(), "HOME=" + folder.Folder(),
                                            "XDG_CONFIG_HOME=" + folder.Folder() + "config",
                                            "XDG_DATA_HOME=" + folder.Folder() + "data"};
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    int input[2];
    EXPECT_EQ(pipe2(input, O_CLOEXEC), 0);  // the loader started later must not keep it open
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, input[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = TONEMARK_BINARY;
    char* argv[] = {program.data(), nullptr};
    EXPECT_EQ(posix_spawn(&pid_, program.c_str(), &files, nullptr, argv, envp.data()), 0);
    posix_spawn_file_actions_destroy(&files);
    close(input[0]);
    input_ = input[1];
    // The socket on which a second start would raise the window comes once
    // the session holds its lock.
    EXPECT_TRUE(WaitUntil(10, [&] { return std::filesystem::exists(folder.RuntimeFile("Orvana.Tonemark.socket")); }));
  }
  ~ScriptedSession() { End(); }

  void End() {
    if (input_ < 0) return;
    close(input_);
    input_ = -1;
    waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
};

TEST(TonewatchEditingSession, LaunchesNothingWhileASessionIsOpenAndOnceAfterItEnds) {
  LoaderFolder folder;
  ScriptedSession session(folder);
  // The launch at start and the timed one come during the session.
  LoaderProcess loader = folder.Start({"/delay", "1"});
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  EXPECT_EQ(folder.Starts().size(), 0u);

  session.End();
  EXPECT_TRUE(folder.WaitForStarts(1, 5));
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_EQ(folder.Starts().size(), 1u);
  EXPECT_TRUE(loader.IsRunning());
}

}  // namespace

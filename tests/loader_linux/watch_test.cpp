// The watch on the real CRTC of the private Xvfb, with the built tonemark
// doing the loads: another program (xrandr) replaces the ramp, and the
// calibration is back within the period, unless a listed program runs, a
// calibration window is open, or the same display keeps being replaced (then
// it is given up, with one notification on a private session bus).
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "tests/loader_linux/loader_folder.h"

namespace {

using std::chrono::milliseconds;

std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char chunk[4096];
    for (size_t count; (count = fread(chunk, 1, sizeof chunk, pipe)) > 0;) text.append(chunk, count);
    pclose(pipe);
  }
  return text;
}

std::string CrtcRamp() { return Output(std::string(CRTC_GAMMA_BINARY) + " get"); }

// What another program does to the ramp.
void ReplaceRamp() { Output("xrandr --output screen --gamma 0.6:0.6:0.6 2>&1"); }

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment, bool quiet = false) {
  std::vector<char*> args, envp;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  args.push_back(nullptr);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  if (quiet) posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  posix_spawn(&pid, args[0], &files, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&files);
  return pid;
}

void End(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

// A session bus of its own with a notification service that writes down
// what it is sent.
class NotificationBus {
 public:
  NotificationBus() {
    daemon_ = Spawn({"/usr/bin/dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + Address()}, {}, true);
    EXPECT_TRUE(WaitUntil(5, [&] { return std::filesystem::exists(folder_.File("bus")); }));
    service_ = Spawn({NOTIFICATION_STAND_IN_BINARY, Log()}, {"DBUS_SESSION_BUS_ADDRESS=" + Address()});
    EXPECT_TRUE(WaitUntil(5, [&] { return std::filesystem::exists(Log() + ".ready"); }));
  }
  ~NotificationBus() {
    End(service_);
    End(daemon_);
  }
  std::string Address() const { return "unix:path=" + folder_.File("bus"); }
  std::string Log() const { return folder_.File("notifications"); }

 private:
  TempFolder folder_;
  pid_t daemon_ = -1;
  pid_t service_ = -1;
};

// A curve far from linear (gamma, red black, blue white, green balance).
std::string CurveFile() {
  std::string text = "RampCurve v.2\r\n\\\\.\\DISPLAY1\r\n";
  for (int field : {0, 20, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, -30, 0, 5, 0}) text += std::to_string(field) + "\r\n";
  for (int level = 0; level < 256; ++level) text += "FALSE\r\n0\r\n0\r\n0\r\n0\r\n";
  return text;
}

// "tonewatch /status" as the user would run it beside the loader.
std::string StatusOf(const LoaderFolder& folder) {
  return Output("env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR=" + folder.RuntimeFolder() + " " + folder.Folder() +
                "tonewatch /status");
}

class TonewatchWatch : public testing::Test {
 protected:
  void SetUp() override {
    const char* display = getenv("DISPLAY");
    ASSERT_NE(display, nullptr) << "runs on an X server (with_xvfb.sh)";
    folder_.SetVariable("DISPLAY", display);
    folder_.SetVariable("DBUS_SESSION_BUS_ADDRESS", bus_.Address());
    folder_.UseRealTonemark();
    WriteBytes(folder_.Folder() + "Tonemark1.lut", CurveFile());
  }

  // Starts the loader, looking every `seconds` (through the settings: the
  // timed launch stays ten minutes away), or as often as it does without
  // settings; the ramp its first load run leaves.
  LoaderProcess StartWatching(int seconds = -1) {
    const std::string settings = folder_.Folder() + "Tonemark.settings";
    if (seconds < 0) std::filesystem::remove(settings);
    else WriteBytes(settings, "[Tonewatch]\r\nWatch=" + std::to_string(seconds) + "\r\n");
    LoaderProcess loader = folder_.Start({"/delay", "600"});
    EXPECT_TRUE(folder_.WaitForStarts(1, 5));
    EXPECT_TRUE(folder_.WaitForTonemarksToEnd(10));
    curve_ = CrtcRamp();
    return loader;
  }

  bool CurveBackWithin(double seconds) {
    return WaitUntil(seconds, [&] { return CrtcRamp() == curve_; });
  }

  size_t Reloads() const {
    size_t count = 0;
    for (const TonemarkStart& start : folder_.Starts()) count += start.Arguments.starts_with("/load /reapply ");
    return count;
  }

  std::string Status() const { return StatusOf(folder_); }

  NotificationBus bus_;
  LoaderFolder folder_;
  std::string curve_;
};

TEST_F(TonewatchWatch, AReplacedRampIsBackWithinThePeriodAndStatusSaysSo) {
  LoaderProcess loader = StartWatching();
  ReplaceRamp();
  ASSERT_NE(CrtcRamp(), curve_);
  const auto replaced = std::chrono::steady_clock::now();
  EXPECT_TRUE(CurveBackWithin(6));
  EXPECT_LE(std::chrono::duration<double>(std::chrono::steady_clock::now() - replaced).count(), 3.5 + 1.5);
  ASSERT_EQ(folder_.Starts().size(), 2u);
  const std::string shown = ReadBytes(folder_.Folder() + "Tonemark.shown");
  const size_t at = shown.find("Identity=") + 9;
  EXPECT_EQ(folder_.Starts()[1].Arguments, "/load /reapply " + shown.substr(at, shown.find_first_of("\r\n", at) - at));
  folder_.WaitForTonemarksToEnd(10);

  const std::string status = Status();
  EXPECT_NE(status.find("Tonewatch is running and looks at the ramps every 3 s."), std::string::npos) << status;
  EXPECT_NE(status.find("curve: Tonemark1.lut"), std::string::npos) << status;
  EXPECT_NE(status.find("re-loads today: 1\n  watched: its calibration shows"), std::string::npos) << status;
}

TEST_F(TonewatchWatch, AListedProgramKeepsTheWatchAwayUntilItEnds) {
  std::filesystem::copy_file("/bin/sleep", folder_.Folder() + "gammastep");
  LoaderProcess loader = StartWatching();
  const pid_t nightLight = Spawn({folder_.Folder() + "gammastep", "5"}, {});
  ReplaceRamp();
  ASSERT_NE(CrtcRamp(), curve_);
  std::this_thread::sleep_for(milliseconds(4000));
  EXPECT_NE(CrtcRamp(), curve_);
  EXPECT_EQ(Reloads(), 0u);
  EXPECT_NE(Status().find("left alone: gammastep runs"), std::string::npos) << Status();
  waitpid(nightLight, nullptr, 0);
  EXPECT_TRUE(CurveBackWithin(4));
  EXPECT_EQ(Reloads(), 1u);
}

TEST_F(TonewatchWatch, ADisplayReplacedAgainAfterEachOfThreeReloadsIsGivenUpWithOneNotification) {
  LoaderProcess loader = StartWatching(1);
  // Another program that sets its ramp again whenever it has been undone.
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(9);
  while (std::chrono::steady_clock::now() < until) {
    if (CrtcRamp() == curve_) ReplaceRamp();
    std::this_thread::sleep_for(milliseconds(100));
  }
  EXPECT_EQ(Reloads(), 3u);
  const std::string notifications = ReadBytes(bus_.Log());
  EXPECT_EQ(std::count(notifications.begin(), notifications.end(), '\n'), 1) << notifications;
  EXPECT_TRUE(notifications.starts_with("Tonewatch stopped watching a display | screen (")) << notifications;
  EXPECT_NE(Status().find("left alone: replaced 3 times in a row"), std::string::npos) << Status();

  // A load run watches it again.
  Output(folder_.Folder() + "tonemark /load");
  ASSERT_EQ(CrtcRamp(), curve_);
  ReplaceRamp();
  ASSERT_NE(CrtcRamp(), curve_);
  EXPECT_TRUE(CurveBackWithin(4));
  EXPECT_EQ(Reloads(), 4u);
}

TEST_F(TonewatchWatch, WhileACalibrationWindowIsOpenTheRampIsNotTouched) {
  LoaderProcess loader = StartWatching(1);
  // The lock that a calibration window holds for its whole session.
  const int session = open(folder_.RuntimeFile("Orvana.Tonemark.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_EQ(flock(session, LOCK_EX), 0);
  ReplaceRamp();
  ASSERT_NE(CrtcRamp(), curve_);
  std::this_thread::sleep_for(milliseconds(2500));
  EXPECT_NE(CrtcRamp(), curve_);
  EXPECT_EQ(Reloads(), 0u);
  EXPECT_NE(Status().find("left alone: a calibration window is open"), std::string::npos) << Status();
  close(session);
  EXPECT_TRUE(CurveBackWithin(3));
}

TEST_F(TonewatchWatch, StatusWorksWithoutARunningLoaderAndTheWatchTurnsOff) {
  EXPECT_EQ(Status(),
            "Tonewatch is not running; as the last load run left the displays:\n"
            "No load run has recorded any display yet.\n");
  EXPECT_EQ(folder_.Run({"/status"}), 0);
  LoaderProcess loader = StartWatching(0);
  ReplaceRamp();
  std::this_thread::sleep_for(milliseconds(4000));
  EXPECT_EQ(Reloads(), 0u);
  const std::string status = Status();
  EXPECT_NE(status.find("Tonewatch is running; its watch does not.\n"), std::string::npos) << status;
  EXPECT_NE(status.find("not watched: the watch is turned off"), std::string::npos) << status;
  kill(loader.Pid(), SIGTERM);
  loader.WaitForExitCode(5);
  EXPECT_NE(Status().find("not watched: Tonewatch is not running"), std::string::npos) << Status();
}

}  // namespace

#include "platform/linux/program_start.h"

#include <unistd.h>

#include <climits>
#include <iostream>

#include "platform/linux/guardian_process.h"
#include "platform/linux/notification_messages.h"
#include "platform/linux/session_lock.h"
#include "platform/linux/shown_text.h"
#include "platform/script/script_view.h"
#include "platform/sim/sim_displays.h"
#include "shell/prepare_run.h"

namespace {

std::string OwnExecutablePath(const std::string& argument0) {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, length) : argument0;
}

// Names the display back-end under every message, so that a report from a
// Wayland desktop says which way Tonemark tried to reach the displays; and
// hands the text on in UTF-8, which terminals and desktop notifications take
// (the language files hold Windows-1252).
class TBackendNamedMessages : public TMessagesPort {
 public:
  TBackendNamedMessages(TMessagesPort& messages, std::string label)
      : messages_(messages), label_(std::move(label)) {}
  void ShowMessage(const std::string& caption, const std::string& text) override {
    messages_.ShowMessage(ShownText(caption),
                          ShownText(label_.empty() ? text : text + "\n(display back-end: " + label_ + ")"));
  }

 private:
  TMessagesPort& messages_;
  std::string label_;
};

}  // namespace

std::vector<std::string> StartLinuxProgram(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  if (args.empty()) args.emplace_back();
  args[0] = OwnExecutablePath(args[0]);
  return args;
}

bool RunOpensNativeWindow(const std::vector<std::string>& args) {
  return !IsGuardianProcess() && RunModeOf(args) == TRunMode::Normal && !ScriptedSessionRequested();
}

int RunLinuxProgram(const std::vector<std::string>& args, TDisplaysPort& displays, TMessagesPort& messages,
                    const TWindowEntry& runWindow, const TProfileMaker& makeProfile) {
  SetDisplaysPort(displays);
  const std::unique_ptr<TCalibrationKeeper> keeper = DesktopCalibrationKeeper(displays, makeProfile);
  SetCalibrationKeeper(keeper.get());
  const bool loadMode = RunModeOf(args) == TRunMode::Load;
  if (loadMode || IsGuardianProcess()) KeepRampsAfterExit(displays);
  if (IsGuardianProcess()) return RunGuardianProcess();

  // Outlives the run: what the port holds when the others are gone.
  static TStreamMessages standardError(std::cerr);
  TNotificationMessages notifications;
  TMessagesPort& chosen = SimulatedDisplaysRequested() ? standardError : loadMode ? notifications : messages;
  TBackendNamedMessages named(chosen, BackendLabel(displays));
  SetMessagesPort(named);
  TGuardianProcess guardian;
  if (!DesktopGivesRampsBack(displays)) SetRampGuardian(guardian);
  TUserSessionLock sessionLock;
  SetSessionLock(sessionLock);
  const int exitCode = ProgramEntry(args, runWindow);
  SetCalibrationKeeper(nullptr);
  notifications.NotifyDesktopOfAll();
  SetMessagesPort(standardError);
  return exitCode;
}

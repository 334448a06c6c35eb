#include "platform/linux/program_start.h"

#include <unistd.h>

#include <climits>
#include <iostream>

#include "platform/linux/guardian_process.h"
#include "platform/linux/notification_messages.h"
#include "shell/prepare_run.h"

namespace {

std::string OwnExecutablePath(const std::string& argument0) {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, length) : argument0;
}

}  // namespace

std::vector<std::string> StartLinuxProgram(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  if (args.empty()) args.emplace_back();
  args[0] = OwnExecutablePath(args[0]);
  return args;
}

int RunLinuxProgram(const std::vector<std::string>& args, TDisplaysPort& displays, TMessagesPort& messages,
                    const TWindowEntry& runWindow) {
  SetDisplaysPort(displays);
  if (IsGuardianProcess()) return RunGuardianProcess();

  // Outlives the run: what the port holds when the others are gone.
  static TStreamMessages standardError(std::cerr);
  TNotificationMessages notifications;
  if (SimulatedDisplaysRequested()) SetMessagesPort(standardError);
  else if (RunModeOf(args) == TRunMode::Load) SetMessagesPort(notifications);
  else SetMessagesPort(messages);
  TGuardianProcess guardian;
  SetRampGuardian(guardian);
  const int exitCode = ProgramEntry(args, runWindow);
  notifications.NotifyDesktopOfAll();
  SetMessagesPort(standardError);
  return exitCode;
}

#include "platform/linux/program_start.h"

#include <unistd.h>

#include <climits>

#include "platform/linux/desktop_notification.h"
#include "platform/linux/guardian_process.h"
#include "platform/linux/randr_displays.h"
#include "shell/prepare_run.h"

namespace {

constexpr const char* NotificationSummary = "Tonemark";

std::string OwnExecutablePath(const std::string& argument0) {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, length) : argument0;
}

// Load mode runs at log-on and resume with nobody reading its standard
// error: what it had to say also goes to the desktop, all in one notice.
void NotifyLoadMessages(const std::vector<std::string>& messages) {
  if (messages.empty()) return;
  std::string body;
  for (const std::string& message : messages) body += (body.empty() ? "" : "\n") + message;
  NotifyDesktop(NotificationSummary, body);
}

}  // namespace

std::vector<std::string> StartLinuxProgram(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  if (args.empty()) args.emplace_back();
  args[0] = OwnExecutablePath(args[0]);
  return args;
}

int RunLinuxProgram(const std::vector<std::string>& args, TDisplaysPort& displays, const TWindowEntry& runWindow) {
  SetDisplaysPort(displays);
  if (IsGuardianProcess()) return RunGuardianProcess();

  TGuardianProcess guardian;
  SetRampGuardian(guardian);
  const int exitCode = ProgramEntry(args, runWindow);
  auto* randr = dynamic_cast<TRandrDisplays*>(&displays);
  if (randr != nullptr && args.size() > 1 && args[1] == LoadModeArgument) NotifyLoadMessages(randr->Shown);
  return exitCode;
}

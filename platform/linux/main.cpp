// tonemark on Linux: the simulated displays when TONEMARK_SIM is set, else
// the X server's RandR outputs; in normal mode the scripted view when
// TONEMARK_SCRIPT is set, else the native window.
#include <unistd.h>

#include <climits>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/desktop_notification.h"
#include "platform/linux/guardian_process.h"
#include "platform/linux/randr_displays.h"
#include "platform/native_session.h"
#include "platform/script/script_view.h"
#include "platform/sim/sim_displays.h"
#include "shell/prepare_run.h"
#include "shell/program_entry.h"

namespace {

constexpr const char* NotificationSummary = "Tonemark";

// The program folder must be known even when the shell found tonemark on
// the PATH and argument 0 is a bare name.
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

// Normal mode: the scripted view under TONEMARK_SCRIPT, else the native window.
void RunWindowSession() {
  if (ScriptedSessionRequested()) RunScriptedSession(std::cin, std::cout, nullptr);
  else RunNativeSession(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  if (args.empty()) args.emplace_back();
  args[0] = OwnExecutablePath(args[0]);
  LoaderFileName = "tonewatch";

  std::unique_ptr<TDisplaysPort> displays = SimDisplaysFromEnvironment();
  TRandrDisplays* randr = nullptr;
  if (!displays) {
    auto real = std::make_unique<TRandrDisplays>();
    randr = real.get();
    displays = std::move(real);
  }
  SetDisplaysPort(*displays);
  if (IsGuardianProcess()) return RunGuardianProcess();

  TGuardianProcess guardian;
  SetRampGuardian(guardian);
  const int exitCode = ProgramEntry(args, RunWindowSession);
  if (randr != nullptr && args.size() > 1 && args[1] == LoadModeArgument) NotifyLoadMessages(randr->Shown);
  return exitCode;
}

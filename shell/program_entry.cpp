#include "shell/program_entry.h"

#include <exception>
#include <iostream>

#include "ramp/display_discovery.h"
#include "ramp/messages_port.h"
#include "ramp/ramp_access.h"
#include "shell/command_line.h"
#include "shell/load_mode.h"
#include "shell/prepare_run.h"
#include "shell/session_lock.h"
#include "shell/settings_file.h"

namespace {

constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1;

int RunWindowMode(const TWindowEntry& runWindow) {
  if (DisplayCount == 0) {
    MessagesPort().ShowMessage(ErrorCaption, NoDisplayMessage);
    return ExitFailure;
  }
  if (!runWindow) {
    MessagesPort().ShowMessage(ErrorCaption, NoWindowMessage);
    return ExitFailure;
  }
  if (!SessionLock().Take()) {
    SessionLock().RaiseHolder();
    return ExitSuccess;
  }
  try {
    runWindow();
  } catch (...) {
    // Only OK keeps the ramps loaded during the session.
    if (RampsOnTrial()) RestoreRamps();
    throw;
  }
  if (RampsOnTrial()) RestoreRamps();
  WriteSettings();
  return ExitSuccess;
}

}  // namespace

int ProgramEntry(const std::vector<std::string>& args, const TWindowEntry& runWindow) {
  CommandLineArgs = args;
  // A re-apply runs for the loader, behind the user's back: nothing on screen.
  static TStreamMessages standardError(std::cerr);
  TMessagesPort& messages = MessagesPort();
  if (RunModeOf(args) == TRunMode::Load && ReapplyAsked(args)) SetMessagesPort(standardError);
  int exitCode = ExitSuccess;
  try {
    EnumerateDisplays();
    if (PrepareRun()) exitCode = RunWindowMode(runWindow);
  } catch (const std::exception& error) {
    MessagesPort().ShowMessage(ErrorCaption, error.what());
    exitCode = ExitFailure;
  }
  ReleaseDisplays();
  SetMessagesPort(messages);
  return exitCode;
}

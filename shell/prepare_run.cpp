#include "shell/prepare_run.h"

#include <stdexcept>

#include "lang/multilang.h"
#include "ramp/displays_port.h"
#include "ramp/messages_port.h"
#include "shell/calibration_keeper.h"
#include "shell/command_line.h"
#include "shell/data_folders.h"
#include "shell/load_mode.h"
#include "shell/open_through_shell.h"
#include "shell/settings_file.h"

TRunMode RunModeOf(const std::vector<std::string>& args) {
  const std::string mode = args.size() > 1 ? args[1] : "";
  if (mode == UninstallModeArgument) return TRunMode::Uninstall;
  if (mode == LoadModeArgument) return TRunMode::Load;
  return TRunMode::Normal;
}

bool PrepareRun() {
  ReadSettings();
  // English is always the base under the chosen language.
  LoadLanguage("English", LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  LoadLanguage(CurrentLanguage, LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  const std::string notDiscovered = DisplaysPort().DiscoveryProblem();
  if (!notDiscovered.empty()) MessagesPort().ShowMessage(ErrorCaption, notDiscovered);

  switch (RunModeOf(CommandLineArgs)) {
    case TRunMode::Uninstall: {
      OpenThroughShell(UninstallPageAddress);
      DeleteStartupShortcut(ProgramFolder() + LoaderFileName);
      const std::string notTakenBack = CalibrationKeeper() ? CalibrationKeeper()->TakeBackStoredCurves() : "";
      if (!notTakenBack.empty()) throw std::runtime_error(notTakenBack);
      return false;
    }
    case TRunMode::Load:
      if (ReapplyAsked(CommandLineArgs)) RunReapply(CommandLineArgs.size() > 3 ? CommandLineArgs[3] : "");
      else RunLoadMode();
      return false;
    case TRunMode::Normal: break;
  }
  return true;
}

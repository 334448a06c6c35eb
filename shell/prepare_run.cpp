#include "shell/prepare_run.h"

#include "lang/multilang.h"
#include "shell/command_line.h"
#include "shell/data_folders.h"
#include "shell/load_mode.h"
#include "shell/open_through_shell.h"
#include "shell/settings_file.h"

bool PrepareRun() {
  ReadSettings();
  // English is always the base under the chosen language.
  LoadLanguage("English", LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  LoadLanguage(CurrentLanguage, LanguagesFolderName, ProductSubFolder, ProductSubFolder);

  const std::string mode = CommandLineArgs.size() > 1 ? CommandLineArgs[1] : "";
  if (mode == UninstallModeArgument) {
    OpenThroughShell(UninstallPageAddress);
    DeleteStartupShortcut(ProgramFolder() + LoaderFileName);
    return false;
  }
  if (mode == LoadModeArgument) {
    RunLoadMode();
    return false;
  }
  return true;
}

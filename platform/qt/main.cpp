// tonemark-window: tonemark with its Qt window linked in. tonemark hands its
// normal mode over to it, so that load mode, which runs at every log-on and
// resume, never loads the toolkit. Run by itself it is tonemark in full.
#include <iostream>
#include <memory>

#include "platform/linux/picture_files.h"
#include "platform/linux/program_start.h"
#include "platform/linux/randr_displays.h"
#include "platform/native_session.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/start_preparation.h"
#include "platform/script/script_view.h"
#include "profile/display_profile.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = StartLinuxProgram(argc, argv);
  // Begun before the displays and settings are read, the font configuration
  // is ready sooner for the window.
  if (RunOpensNativeWindow(args)) StartWindowPreparation();
  std::unique_ptr<TDisplaysPort> displays = ChosenDisplays<TRandrDisplays>();
  TQtMessageBoxes messageBoxes;
  TJpegDecoder decoder;
  return RunLinuxProgram(args, *displays, messageBoxes, [&] {
    if (ScriptedSessionRequested()) RunScriptedSession(std::cin, std::cout, &decoder);
    else RunNativeSession(&decoder);
  }, CalibrationProfileBytes);
}

// Tonemark.exe: the simulated displays when TONEMARK_SIM is set, with
// messages on standard error, else the desktop's own through GDI, with message
// boxes; in normal mode the scripted view when TONEMARK_SCRIPT is set, else
// the native window.
#include "platform/windows/win32.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "paint/mini_icm.h"
#include "platform/native_session.h"
#include "platform/script/script_view.h"
#include "platform/sim/sim_displays.h"
#include "platform/windows/ansi_path.h"
#include "platform/windows/color_mscms.h"
#include "platform/windows/display_gdi.h"
#include "platform/windows/dpi_awareness.h"
#include "platform/windows/guardian_process.h"
#include "platform/windows/message_boxes.h"
#include "platform/windows/session_lock.h"
#include "platform/windows/system_calibration_keeper.h"
#include "platform/windows/wic_pictures.h"
#include "shell/prepare_run.h"
#include "shell/program_entry.h"

namespace {

// Argument 0 is whatever the starting program wrote; the module's own path
// always names the program folder. It is asked in UTF-16, as the ANSI answer
// would carry '?' for some characters.
std::string OwnExecutablePath(const std::string& argument0) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? AnsiPath(std::wstring(path, length)) : argument0;
}

TWicJpegDecoder Pictures;

// Normal mode: the scripted view under TONEMARK_SCRIPT, else the native window.
void RunWindowSession() {
  if (ScriptedSessionRequested()) RunScriptedSession(std::cin, std::cout, &Pictures);
  else RunNativeSession(&Pictures);
}

}  // namespace

int main(int argc, char** argv) {
  DeclarePerMonitorDpiAwareness();
  std::vector<std::string> args(argv, argv + argc);
  if (args.empty()) args.emplace_back();
  args[0] = OwnExecutablePath(args[0]);

  std::unique_ptr<TDisplaysPort> displays = SimDisplaysFromEnvironment();
  // Simulated displays have no device context, and so no colour profile.
  TMscmsColorManagement colorManagement;
  TMessageBoxes messageBoxes;
  // The loader keeps the calibration; this one only watches what Windows'
  // own calibration loading would do to it.
  TSystemCalibrationKeeper systemCalibration;
  if (!displays) {
    displays = std::make_unique<TGdiDisplays>();
    DisplayColorManagement = &colorManagement;
    SetMessagesPort(messageBoxes);
    SetCalibrationKeeper(&systemCalibration);
  }
  SetDisplaysPort(*displays);
  if (IsGuardianProcess()) return RunGuardianProcess();

  TGuardianProcess guardian;
  SetRampGuardian(guardian);
  TWindowsSessionLock sessionLock;
  SetSessionLock(sessionLock);
  return ProgramEntry(args, RunWindowSession);
}

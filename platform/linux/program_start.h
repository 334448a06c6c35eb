// What both Linux programs of Tonemark do first.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/wayland/display_backends.h"
#include "ramp/displays_port.h"
#include "ramp/messages_port.h"
#include "shell/program_entry.h"

// The arguments, argument 0 being the program's own path even when the shell
// found it on the PATH.
std::vector<std::string> StartLinuxProgram(int argc, char** argv);

// Whether the run is normal mode in the native window: neither another mode,
// nor a scripted session, nor the ramp guardian.
bool RunOpensNativeWindow(const std::vector<std::string>& args);

// The display back-end that fits the session (platform/wayland/
// display_backends.h), X11 RandR being `X11Displays`.
template <typename X11Displays>
std::unique_ptr<TDisplaysPort> ChosenDisplays() {
  return ChooseLinuxDisplays([] { return std::make_unique<X11Displays>(); });
}

// The rest of a Linux program's run once its displays are chosen: the ramp
// guardian's life when started as one; else the program entry, with the
// editing session's saved ramps guarded. Its messages go to standard error
// on simulated displays; in load mode, which runs with nobody watching, to
// standard error and one desktop notification for the run; else to
// `messages`, the program's own way. On a desktop that keeps the calibration
// itself, its keeper writes profiles with `makeProfile` (none: it writes
// none). Returns the exit code.
int RunLinuxProgram(const std::vector<std::string>& args, TDisplaysPort& displays, TMessagesPort& messages,
                    const TWindowEntry& runWindow, const TProfileMaker& makeProfile = {});

// The display back-ends of the Linux programs, one chosen at run time: the
// simulated displays when TONEMARK_SIM is set; in a Wayland session the
// back-end of the compositor's own ramp interface (or, on KDE Plasma 6, of
// its output management, which assigns profiles), else "none" (never
// Xwayland's RandR, which takes any ramp and shows none of it); otherwise X11
// RandR. TONEMARK_BACKEND=<name> forces one.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/wayland/profile_files.h"
#include "ramp/displays_port.h"
#include "shell/calibration_keeper.h"

inline const char* const BackendVariable = "TONEMARK_BACKEND";

using TOpenDisplays = std::function<std::unique_ptr<TDisplaysPort>()>;

struct TDisplayBackend {
  const char* Name;
  // The back-end's displays when it fits this session (when forced: whenever
  // it can run at all), else null.
  std::function<std::unique_ptr<TDisplaysPort>(bool forced)> Open;
};

// True when the environment describes a Wayland session.
bool IsWaylandSession(const char* waylandDisplay, const char* sessionType);

// The back-ends in the order they are tried, X11 RandR opened by `openX11`.
std::vector<TDisplayBackend> LinuxDisplayBackends(const TOpenDisplays& openX11);

// The first back-end that fits, or the one `forced` names. A name that no
// back-end has throws std::invalid_argument listing the known ones.
std::unique_ptr<TDisplaysPort> ChooseDisplays(const std::vector<TDisplayBackend>& backends, const char* forced);

// ChooseDisplays over LinuxDisplayBackends as the environment asks; a wrong
// TONEMARK_BACKEND ends the program with exit code 1 and the message.
std::unique_ptr<TDisplaysPort> ChooseLinuxDisplays(const TOpenDisplays& openX11);

// What a run needs of its displays besides the port: ramps that must outlast
// the process (load mode, the guardian) are loaded so that they do.
void KeepRampsAfterExit(TDisplaysPort& displays);
// True when the desktop itself gives each display its ramp back once this
// process ends, so that no guardian is needed.
bool DesktopGivesRampsBack(TDisplaysPort& displays);
// Who keeps the calibration after OK where the desktop does (GNOME, KDE:
// from profiles that `makeProfile` writes); null where the loader does.
std::unique_ptr<TCalibrationKeeper> DesktopCalibrationKeeper(TDisplaysPort& displays, const TProfileMaker& makeProfile);
// The back-end's name in the README's terms, for every problem reported on a
// Wayland desktop; empty for X11 and the simulated displays, whose messages
// stay as they always were.
std::string BackendLabel(TDisplaysPort& displays);

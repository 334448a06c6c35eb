#include "platform/wayland/display_backends.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <stdexcept>

#include "platform/sim/sim_displays.h"
#include "platform/wayland/gnome_displays.h"
#include "platform/wayland/kde_displays.h"
#include "platform/wayland/kde_output_management.h"
#include "platform/wayland/none_displays.h"
#include "platform/wayland/wlr_displays.h"
#include "ramp/messages_port.h"

namespace {

constexpr const char* WaylandSessionType = "wayland";
constexpr int ChoiceErrorExitCode = 1;
constexpr const char* SimBackendName = "sim";

// Each Wayland back-end answers for its desktop; X11 RandR and the simulated
// displays leave the calibration to the loader.
TOutputDisplays* DesktopOutputs(TDisplaysPort& displays) { return dynamic_cast<TOutputDisplays*>(&displays); }

bool WaylandSessionNow() { return IsWaylandSession(std::getenv("WAYLAND_DISPLAY"), std::getenv("XDG_SESSION_TYPE")); }

std::unique_ptr<TDisplaysPort> OpenGnome(bool forced) {
  if (!forced && !WaylandSessionNow()) return nullptr;
  auto gnome = std::make_unique<TGnomeDisplays>();
  if (!forced && !gnome->MutterAnswers()) return nullptr;
  return gnome;
}

// Chosen after GNOME: a compositor offering wlr gamma control.
std::unique_ptr<TDisplaysPort> OpenWlr(bool forced) {
  if (!forced && !WaylandSessionNow()) return nullptr;
  auto wlr = std::make_unique<TWlrDisplays>();
  if (!forced && !wlr->CompositorOffersGammaControl()) return nullptr;
  return wlr;
}

// Chosen after wlroots: KWin, which loads each output's profile itself.
std::unique_ptr<TDisplaysPort> OpenKde(bool forced) {
  if (!forced && (!WaylandSessionNow() || !KWinAssignsProfiles())) return nullptr;
  return std::make_unique<TKdeDisplays>();
}

}  // namespace

bool IsWaylandSession(const char* waylandDisplay, const char* sessionType) {
  return (waylandDisplay != nullptr && *waylandDisplay != '\0') ||
         (sessionType != nullptr && std::strcmp(sessionType, WaylandSessionType) == 0);
}

std::vector<TDisplayBackend> LinuxDisplayBackends(const TOpenDisplays& openX11) {
  return {
      {SimBackendName,
       [](bool forced) -> std::unique_ptr<TDisplaysPort> {
         std::unique_ptr<TDisplaysPort> sim = SimDisplaysFromEnvironment();
         if (!sim && forced) throw std::invalid_argument("The simulated displays need TONEMARK_SIM set to their folder.");
         return sim;
       }},
      {"gnome", OpenGnome},
      {"wlr", OpenWlr},
      {"kde", OpenKde},
      {"none",
       [](bool forced) -> std::unique_ptr<TDisplaysPort> {
         return forced || WaylandSessionNow() ? std::make_unique<TNoRampDisplays>() : nullptr;
       }},
      {"x11", [openX11](bool forced) { return forced || !WaylandSessionNow() ? openX11() : nullptr; }},
  };
}

std::unique_ptr<TDisplaysPort> ChooseDisplays(const std::vector<TDisplayBackend>& backends, const char* forced) {
  const TDisplayBackend* named = nullptr;
  if (forced != nullptr && *forced != '\0') {
    std::string known;
    for (const TDisplayBackend& backend : backends) {
      if (std::strcmp(backend.Name, forced) == 0) named = &backend;
      known += (known.empty() ? "" : ", ") + std::string(backend.Name);
    }
    if (named == nullptr)
      throw std::invalid_argument(std::string(BackendVariable) + "=" + forced +
                                  " names no display back-end. The known ones are: " + known + ".");
  }
  // The simulated displays are the test seam: with TONEMARK_SIM set they
  // stand in for whichever back-end is named.
  for (const TDisplayBackend& backend : backends)
    if (std::strcmp(backend.Name, SimBackendName) == 0)
      if (std::unique_ptr<TDisplaysPort> sim = backend.Open(named == &backend)) return sim;
  if (named != nullptr) return named->Open(true);
  for (const TDisplayBackend& backend : backends)
    if (std::unique_ptr<TDisplaysPort> displays = backend.Open(false)) return displays;
  return nullptr;
}

std::unique_ptr<TDisplaysPort> ChooseLinuxDisplays(const TOpenDisplays& openX11) {
  try {
    std::unique_ptr<TDisplaysPort> displays =
        ChooseDisplays(LinuxDisplayBackends(openX11), std::getenv(BackendVariable));
    return displays ? std::move(displays) : openX11();
  } catch (const std::invalid_argument& error) {
    std::cerr << ErrorCaption << ": " << error.what() << std::endl;
    std::exit(ChoiceErrorExitCode);
  }
}

void KeepRampsAfterExit(TDisplaysPort& displays) {
  if (TOutputDisplays* desktop = DesktopOutputs(displays)) desktop->KeepRampsAfterExit();
}

bool DesktopGivesRampsBack(TDisplaysPort& displays) {
  TOutputDisplays* desktop = DesktopOutputs(displays);
  return desktop != nullptr && desktop->GivesRampsBackAtExit();
}

std::unique_ptr<TCalibrationKeeper> DesktopCalibrationKeeper(TDisplaysPort& displays, const TProfileMaker& makeProfile) {
  TOutputDisplays* desktop = DesktopOutputs(displays);
  return desktop != nullptr ? desktop->CalibrationKeeper(makeProfile) : nullptr;
}

std::string BackendLabel(TDisplaysPort& displays) {
  TOutputDisplays* desktop = DesktopOutputs(displays);
  return desktop != nullptr ? desktop->Label() : "";
}

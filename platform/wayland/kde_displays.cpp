#include "platform/wayland/kde_displays.h"

#include "lang/multilang.h"

TKdeDisplays::TKdeDisplays(std::string drmFolder) : TNoRampDisplays(KdeBackendLabel, std::move(drmFolder)) {}

std::string TKdeDisplays::RampRefusal(TDisplayHandle display) {
  return OutputOf(display) != nullptr ? Translate("MKWinLoadsProfile") : "";
}

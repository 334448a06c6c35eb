#include "platform/wayland/kde_displays.h"

#include "lang/multilang.h"

TKdeDisplays::TKdeDisplays(std::string drmFolder) : TOutputDisplays(KdeBackendLabel, std::move(drmFolder)) {}

std::string TKdeDisplays::ReadOutputs() { return ReadCompositorOutputs(); }

bool TKdeDisplays::GetRamp(TDisplayHandle, TGammaRamp&) { return false; }

bool TKdeDisplays::SetRamp(TDisplayHandle, const TGammaRamp&) { return false; }

std::string TKdeDisplays::RampRefusal(TDisplayHandle display) {
  return OutputOf(display) != nullptr ? Translate("MKWinLoadsProfile") : "";
}

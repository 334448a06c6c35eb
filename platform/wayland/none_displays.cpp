#include "platform/wayland/none_displays.h"
#include "platform/wayland/backend_reasons.h"

TNoRampDisplays::TNoRampDisplays(std::string drmFolder) : TNoRampDisplays(NoneBackendLabel, std::move(drmFolder)) {}

TNoRampDisplays::TNoRampDisplays(const char* label, std::string drmFolder)
    : TOutputDisplays(label, std::move(drmFolder)) {}

TKeyedText TNoRampDisplays::ReadOutputs() { return ReadCompositorOutputs(); }

bool TNoRampDisplays::GetRamp(TDisplayHandle, TGammaRamp&) { return false; }

bool TNoRampDisplays::SetRamp(TDisplayHandle, const TGammaRamp&) { return false; }

std::string TNoRampDisplays::RampRefusal(TDisplayHandle display) {
  return OutputOf(display) != nullptr ? NoRampInterfaceReason() : "";
}

#include "platform/wayland/none_displays.h"

#include "platform/wayland/wayland_outputs.h"

TNoRampDisplays::TNoRampDisplays(std::string drmFolder) : TOutputDisplays(NoneBackendLabel, std::move(drmFolder)) {}

std::string TNoRampDisplays::ReadOutputs() {
  std::string problem;
  Outputs = ListWaylandOutputs(problem);
  for (TWaylandOutput& output : Outputs) output.Edid = DrmConnectorEdid(DrmFolder, output.Name);
  if (!Outputs.empty()) Outputs.front().Primary = true;
  return problem;
}

bool TNoRampDisplays::GetRamp(TDisplayHandle, TGammaRamp&) { return false; }

bool TNoRampDisplays::SetRamp(TDisplayHandle, const TGammaRamp&) { return false; }

std::string TNoRampDisplays::RampRefusal(TDisplayHandle display) {
  return OutputOf(display) != nullptr ? NoRampInterfaceReason : "";
}

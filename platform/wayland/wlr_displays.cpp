#include "platform/wayland/wlr_displays.h"

#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/hyprland_profiles.h"
#include "ramp/ramp_resample.h"

namespace {

constexpr int IdentityStep = 257;  // 255 × 257 = 65535

}  // namespace

TWlrDisplays::TWlrDisplays(std::string drmFolder) : TOutputDisplays(WlrBackendLabel, std::move(drmFolder)) {}

bool TWlrDisplays::CompositorOffersGammaControl() {
  return controls_.Refresh().empty() && controls_.OffersGammaControl();
}

void TWlrDisplays::KeepRampsAfterExit() {
  controls_.ReleaseAll();
  tables_ = loader_.get();
}

bool TWlrDisplays::LeaveToLoader() {
  // The loader that let go at the start may have ended since: asked again,
  // and one started in its place when it does not answer.
  if (loaderLetGo_ && loader_->ReleaseForSession(false)) return true;
  if (loaderLetGo_) loader_ = std::make_unique<TLoaderGammaTables>(LoaderBesideThisProgram());
  loaderLetGo_ = loader_->ReleaseForSession(true);
  return loaderLetGo_;
}

TKeyedText TWlrDisplays::ReadOutputs() {
  const std::string problem = controls_.Refresh();
  Outputs.clear();
  for (const TWlrOutput* output : controls_.Present()) {
    TWaylandOutput listed = output->Info;
    if (listed.Description.empty()) listed.Description = output->Make + " " + output->Model;
    listed.Edid = DrmConnectorEdid(DrmFolder, listed.Name);
    Outputs.push_back(std::move(listed));
  }
  if (!Outputs.empty()) Outputs.front().Primary = true;
  return {problem};
}

bool TWlrDisplays::GetRamp(TDisplayHandle display, TGammaRamp& ramp) {
  const int32_t size = SizeOf(display);
  if (size == 0) return false;
  // No client can read an output's table: until one is set, the compositor's
  // own is taken to be the identity, full scale at the top.
  const std::vector<uint16_t> table = tables_->Table(OutputOf(display)->Name);
  if (table.size() == 3 * static_cast<size_t>(size)) ramp = RampFromCardEntries(table, size);
  else
    for (int i = 0; i < 3 * LevelCount; ++i) ramp[i] = static_cast<uint16_t>((i % LevelCount) * IdentityStep);
  return true;
}

bool TWlrDisplays::SetRamp(TDisplayHandle display, const TGammaRamp& ramp) {
  const int32_t size = SizeOf(display);
  return size > 0 && tables_->SetTable(OutputOf(display)->Name, RampToCardEntries(ramp, size));
}

int32_t TWlrDisplays::RampSize(TDisplayHandle display) {
  const int32_t size = SizeOf(display);
  return size > 0 ? size : LevelCount;
}

std::string TWlrDisplays::RampRefusal(TDisplayHandle display) {
  std::string refusal;
  if (OutputOf(display) == nullptr || SizeOf(display, &refusal) > 0) return "";
  const std::string hyprland = HyprlandRefusalReason(OutputOf(display)->Name);
  return refusal == ControlRefusedReason() && !hyprland.empty() ? hyprland : refusal;
}

int32_t TWlrDisplays::SizeOf(TDisplayHandle display, std::string* refusal) {
  // A session takes the controls itself once the loader, if one runs, has
  // let go of them.
  if (tables_ == &controls_ && !askedLoaderToLetGo_) {
    askedLoaderToLetGo_ = true;
    loaderLetGo_ = loader_->ReleaseForSession(false);
  }
  const TWaylandOutput* output = OutputOf(display);
  std::string reason;
  const uint32_t size = output != nullptr ? tables_->TableSize(output->Name, reason) : 0;
  if (refusal != nullptr) *refusal = reason;
  return static_cast<int32_t>(size);
}

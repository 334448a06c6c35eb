#include "platform/wayland/wlr_gamma_controls.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "loader/linux/gamma_wire.h"
#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/wayland_client_library.h"
#include "wlr-gamma-control-unstable-v1-client-protocol.h"

namespace {

// Version 4 adds the output's name ("DP-1") and description.
constexpr uint32_t OutputVersion = 4;
constexpr uint32_t ManagerVersion = 1;

TWlrOutput& OutputOf(void* data) { return *static_cast<TWlrOutput*>(data); }

void Geometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char* make,
              const char* model, int32_t) {
  TWlrOutput& output = OutputOf(data);
  TRect& rect = output.Info.Rect;
  rect = {x, y, x + rect.Right - rect.Left, y + rect.Bottom - rect.Top};
  output.Make = make;
  output.Model = model;
}

void Mode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
  if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
  TRect& rect = OutputOf(data).Info.Rect;
  rect.Right = rect.Left + width;
  rect.Bottom = rect.Top + height;
}

void Done(void*, wl_output*) {}
void Scale(void*, wl_output*, int32_t) {}
void Name(void* data, wl_output*, const char* name) { OutputOf(data).Info.Name = name; }
void Description(void* data, wl_output*, const char* description) { OutputOf(data).Info.Description = description; }

const wl_output_listener OutputListener = {Geometry, Mode, Done, Scale, Name, Description};

void GammaSize(void* data, zwlr_gamma_control_v1*, uint32_t size) {
  TWlrOutput& output = OutputOf(data);
  output.GammaSize = size;
  output.State = TControlState::Held;
}

// Refused when asked; taken away when it was held (wlroots 0.16 and earlier
// give the output to the newest client).
void Failed(void* data, zwlr_gamma_control_v1*) {
  TWlrOutput& output = OutputOf(data);
  output.State = output.State == TControlState::Held ? TControlState::TakenAway : TControlState::Refused;
}

const zwlr_gamma_control_v1_listener ControlListener = {GammaSize, Failed};

void Global(void* data, wl_registry*, uint32_t global, const char* interface, uint32_t version) {
  auto& controls = *static_cast<TWlrGammaControls*>(data);
  if (std::strcmp(interface, "wl_output") == 0) controls.AddOutput(global, version);
  if (std::strcmp(interface, zwlr_gamma_control_manager_v1_interface.name) == 0) controls.BindManager(global, version);
}

void GlobalRemove(void* data, wl_registry*, uint32_t global) {
  static_cast<TWlrGammaControls*>(data)->RemoveOutput(global);
}

const wl_registry_listener RegistryListener = {Global, GlobalRemove};


}  // namespace

void TWlrGammaControls::DestroyOutput(TWlrOutput& output) {
  if (output.Output == nullptr) return;
  // wl_output's release (version 3) lets the compositor free its side too.
  if (wl_->GetVersion(output.Output) >= 3)
    wl_->MarshalFlags(output.Output, OutputRelease, nullptr, wl_->GetVersion(output.Output), WL_MARSHAL_FLAG_DESTROY);
  else
    wl_->Destroy(output.Output);
  output.Output = nullptr;
}

int GammaTableFile(const std::vector<uint16_t>& entries) {
  int file = memfd_create("tonemark-gamma", MFD_CLOEXEC | MFD_ALLOW_SEALING);
  if (file < 0) return -1;
  const size_t bytes = entries.size() * sizeof(uint16_t);
  if (write(file, entries.data(), bytes) != static_cast<ssize_t>(bytes) || lseek(file, 0, SEEK_SET) != 0) {
    close(file);
    return -1;
  }
  fcntl(file, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL);
  return file;
}

TWlrGammaControls::~TWlrGammaControls() {
  if (display_ == nullptr) return;
  ReleaseAll();
  for (auto& output : outputs_) DestroyOutput(*output);
  if (manager_ != nullptr)
    wl_->MarshalFlags(manager_, ZWLR_GAMMA_CONTROL_MANAGER_V1_DESTROY, nullptr, wl_->GetVersion(manager_),
                      WL_MARSHAL_FLAG_DESTROY);
  wl_->Destroy(registry_);
  wl_->Disconnect(display_);
}

std::string TWlrGammaControls::Refresh() {
  if (display_ == nullptr) {
    wl_ = WaylandClient();
    if (wl_ == nullptr) return "MNoWaylandLibrary";
    display_ = wl_->Connect(nullptr);
    if (display_ == nullptr) return "MNoCompositor";
    registry_ = GetRegistry(*wl_, display_);
    Listen(*wl_, registry_, RegistryListener, this);
  }
  // The globals, then each new output's events.
  if (wl_->Roundtrip(display_) < 0 || wl_->Roundtrip(display_) < 0)
    return "MCompositorConnectionBroke";
  for (auto& output : outputs_) {
    if (output->Output == nullptr || !output->Info.Name.empty()) continue;
    char name[GammaOutputNameSize];
    UnnamedOutputName(output->Global, name, sizeof name);  // as the loader names it
    output->Info.Name = name;
  }
  return "";
}

std::vector<const TWlrOutput*> TWlrGammaControls::Present() const {
  std::vector<const TWlrOutput*> present;
  for (const auto& output : outputs_)
    if (output->State != TControlState::OutputGone) present.push_back(output.get());
  return present;
}

void TWlrGammaControls::AddOutput(uint32_t global, uint32_t version) {
  auto output = std::make_unique<TWlrOutput>();
  output->Global = global;
  output->Output = BindGlobal(*wl_, registry_, global, wl_->OutputInterface, std::min(version, OutputVersion));
  if (output->Output == nullptr) return;
  Listen(*wl_, output->Output, OutputListener, output.get());
  outputs_.push_back(std::move(output));
}

void TWlrGammaControls::RemoveOutput(uint32_t global) {
  for (auto& output : outputs_) {
    if (output->Global != global || output->State == TControlState::OutputGone) continue;
    DestroyControl(*output);
    DestroyOutput(*output);
    output->State = TControlState::OutputGone;
  }
}

void TWlrGammaControls::BindManager(uint32_t global, uint32_t) {
  if (manager_ == nullptr) manager_ = BindGlobal(*wl_, registry_, global, &zwlr_gamma_control_manager_v1_interface, ManagerVersion);
}

TWlrOutput* TWlrGammaControls::Named(const std::string& name) {
  for (auto& output : outputs_)
    if (output->Info.Name == name && output->State != TControlState::OutputGone) return output.get();
  return nullptr;
}

void TWlrGammaControls::Take(TWlrOutput& output) {
  if (output.State != TControlState::NotAsked) return;
  if (manager_ == nullptr) {
    output.State = TControlState::Refused;
    return;
  }
  output.Control = wl_->MarshalFlags(manager_, ZWLR_GAMMA_CONTROL_MANAGER_V1_GET_GAMMA_CONTROL,
                                     &zwlr_gamma_control_v1_interface, wl_->GetVersion(manager_), 0, nullptr,
                                     output.Output);
  if (output.Control == nullptr) {
    output.State = TControlState::Refused;
    return;
  }
  output.State = TControlState::Asked;
  Listen(*wl_, output.Control, ControlListener, &output);
  wl_->Roundtrip(display_);
  if (output.State == TControlState::Asked) output.State = TControlState::Refused;  // a broken connection
}

void TWlrGammaControls::DestroyControl(TWlrOutput& output) {
  if (output.Control == nullptr) return;
  wl_->MarshalFlags(output.Control, ZWLR_GAMMA_CONTROL_V1_DESTROY, nullptr, wl_->GetVersion(output.Control),
                    WL_MARSHAL_FLAG_DESTROY);
  output.Control = nullptr;
  output.Table.clear();
}

void TWlrGammaControls::ReleaseAll() {
  for (auto& output : outputs_) {
    DestroyControl(*output);
    if (output->State != TControlState::OutputGone) output->State = TControlState::NotAsked;
  }
  if (display_ != nullptr) wl_->Roundtrip(display_);
}

uint32_t TWlrGammaControls::TableSize(const std::string& name, std::string& refusal) {
  TWlrOutput* output = Named(name);
  if (output == nullptr) {
    refusal = OutputGoneReason();
    return 0;
  }
  Take(*output);
  if (output->State == TControlState::Held && output->GammaSize > 0) return output->GammaSize;
  refusal = output->State == TControlState::TakenAway ? ControlTakenReason() : ControlRefusedReason();
  return 0;
}

bool TWlrGammaControls::SetTable(const std::string& name, const std::vector<uint16_t>& entries) {
  TWlrOutput* output = Named(name);
  if (output == nullptr || output->State != TControlState::Held || entries.size() != 3 * size_t{output->GammaSize})
    return false;
  const int file = GammaTableFile(entries);
  if (file < 0) return false;
  wl_->MarshalFlags(output->Control, ZWLR_GAMMA_CONTROL_V1_SET_GAMMA, nullptr, wl_->GetVersion(output->Control), 0,
                    file);
  close(file);  // the library sent a duplicate
  // Hears a `failed` at once, and a broken connection.
  if (wl_->Roundtrip(display_) < 0 || output->State != TControlState::Held) return false;
  output->Table = entries;
  return true;
}

std::vector<uint16_t> TWlrGammaControls::Table(const std::string& name) {
  TWlrOutput* output = Named(name);
  return output != nullptr && output->State == TControlState::Held ? output->Table : std::vector<uint16_t>();
}

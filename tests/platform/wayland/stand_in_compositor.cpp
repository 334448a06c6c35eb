#include "tests/platform/wayland/stand_in_compositor.h"

#include <poll.h>
#include <unistd.h>
#include <wayland-server-protocol.h>

#include <algorithm>
#include <sstream>

#include "kde-output-device-v2-server-protocol.h"
#include "kde-output-management-v2-server-protocol.h"
#include "wlr-gamma-control-unstable-v1-server-protocol.h"

namespace {
// KWin's output devices announce the profile from version 5 and its source
// from 7; the management sets the source from 8.
constexpr uint32_t DeviceVersionWithSource = 7;
constexpr uint32_t DeviceVersionWithProfile = 5;
constexpr uint32_t ManagementVersionWithSource = 8;
constexpr uint32_t ManagementVersionWithDeviceRegistry = 21;
}  // namespace

struct StandInCompositor::TOutputState {
  StandInCompositor* Compositor = nullptr;
  TStandInOutput Output;
  wl_global* Global = nullptr;
  wl_global* DeviceGlobal = nullptr;
  wl_resource* Holder = nullptr;  // the gamma control holding the output
  TShownTables Shown;
  std::vector<wl_resource*> Devices;
};

namespace {

using TOutputState = StandInCompositor::TOutputState;

void DestroyResource(wl_client*, wl_resource* resource) { wl_resource_destroy(resource); }

void Note(const TOutputState& state, const std::string& line);

void ReleaseOutput(wl_client*, wl_resource* resource) {
  const TOutputState& state = *static_cast<TOutputState*>(wl_resource_get_user_data(resource));
  Note(state, "released " + state.Output.Name);
  wl_resource_destroy(resource);
}

const struct wl_output_interface OutputImplementation = {ReleaseOutput};

void BindOutput(wl_client* client, void* data, uint32_t version, uint32_t id) {
  const TStandInOutput& output = static_cast<TOutputState*>(data)->Output;
  wl_resource* resource = wl_resource_create(client, &wl_output_interface, static_cast<int>(version), id);
  wl_resource_set_implementation(resource, &OutputImplementation, data, nullptr);
  wl_output_send_geometry(resource, output.X, 0, 600, 340, WL_OUTPUT_SUBPIXEL_UNKNOWN, "Maker", "Model",
                          WL_OUTPUT_TRANSFORM_NORMAL);
  wl_output_send_mode(resource, 0, 640, 480, 60000);
  wl_output_send_mode(resource, WL_OUTPUT_MODE_CURRENT, output.Width, output.Height, 60000);
  if (version >= 4) {
    wl_output_send_name(resource, output.Name.c_str());
    wl_output_send_description(resource, output.Description.c_str());
  }
  wl_output_send_done(resource);
}

void Note(const TOutputState& state, const std::string& line) {
  if (state.Compositor->Note) state.Compositor->Note(line);
}

// wlr gamma control.

void Restore(TOutputState& state) {
  state.Holder = nullptr;
  state.Shown.emplace_back();
  Note(state, "restored " + state.Output.Name);
}

// A control's data is its output, or null once it has failed.
void ControlGone(wl_resource* control) {
  auto* state = static_cast<TOutputState*>(wl_resource_get_user_data(control));
  if (state != nullptr && state->Holder == control) Restore(*state);
}

void Fail(wl_resource* control) {
  wl_resource_set_user_data(control, nullptr);
  zwlr_gamma_control_v1_send_failed(control);
}

void SetGamma(wl_client*, wl_resource* control, int32_t fd) {
  auto* state = static_cast<TOutputState*>(wl_resource_get_user_data(control));
  if (state == nullptr || state->Holder != control) {
    close(fd);
    return;
  }
  std::vector<uint16_t> table(3 * size_t{state->Output.GammaSize});
  const ssize_t bytes = static_cast<ssize_t>(table.size() * sizeof(uint16_t));
  // As wlroots does: the whole table from the file's offset, not a byte less.
  const ssize_t got = read(fd, table.data(), static_cast<size_t>(bytes));
  close(fd);
  if (got != bytes) {
    wl_resource_post_error(control, ZWLR_GAMMA_CONTROL_V1_ERROR_INVALID_GAMMA, "wrong gamma table size");
    return;
  }
  state->Shown.push_back(table);
  std::ostringstream line;
  line << "set " << state->Output.Name;
  for (uint16_t entry : table) line << ' ' << entry;
  Note(*state, line.str());
}

const struct zwlr_gamma_control_v1_interface ControlImplementation = {SetGamma, DestroyResource};

void GetGammaControl(wl_client* client, wl_resource* manager, uint32_t id, wl_resource* outputResource) {
  wl_resource* control = wl_resource_create(client, &zwlr_gamma_control_v1_interface,
                                            wl_resource_get_version(manager), id);
  auto* state = static_cast<TOutputState*>(wl_resource_get_user_data(outputResource));
  wl_resource_set_implementation(control, &ControlImplementation, state, ControlGone);
  if (state->Output.GammaSize == 0 || state->Global == nullptr ||
      (state->Holder != nullptr && state->Compositor->Gamma == TGammaControl::RefuseSecond)) {
    Fail(control);
    Note(*state, "refused " + state->Output.Name);
    return;
  }
  if (state->Holder != nullptr) {
    Fail(state->Holder);
    Note(*state, "taken " + state->Output.Name);
  }
  state->Holder = control;
  zwlr_gamma_control_v1_send_gamma_size(control, state->Output.GammaSize);
  Note(*state, "held " + state->Output.Name);
}

const struct zwlr_gamma_control_manager_v1_interface ManagerImplementation = {GetGammaControl, DestroyResource};

void BindGammaManager(wl_client* client, void* data, uint32_t version, uint32_t id) {
  wl_resource* resource =
      wl_resource_create(client, &zwlr_gamma_control_manager_v1_interface, static_cast<int>(version), id);
  wl_resource_set_implementation(resource, &ManagerImplementation, data, nullptr);
}

// KWin's output devices and output management.

void NoteProfile(const TOutputState& state) {
  const TKdeProfileState& profile = state.Output.Profile;
  Note(state, "profile " + state.Output.Name + " " + std::to_string(profile.Source) + " " + profile.Path);
}

void SendProfile(wl_resource* device, const TOutputState& state) {
  kde_output_device_v2_send_icc_profile_path(device, state.Output.Profile.Path.c_str());
  if (wl_resource_get_version(device) >= static_cast<int>(DeviceVersionWithSource))
    kde_output_device_v2_send_color_profile_source(device, state.Output.Profile.Source);
  kde_output_device_v2_send_done(device);
}

void DeviceGone(wl_resource* device) {
  auto& devices = static_cast<TOutputState*>(wl_resource_get_user_data(device))->Devices;
  devices.erase(std::remove(devices.begin(), devices.end(), device), devices.end());
}

// A device for the output, `id` 0 for one of the compositor's making, which
// `registry` announces.
void AnnounceDevice(wl_client* client, TOutputState& state, uint32_t version, uint32_t id,
                    wl_resource* registry = nullptr) {
  wl_resource* device = wl_resource_create(client, &kde_output_device_v2_interface, static_cast<int>(version), id);
  if (registry != nullptr) kde_output_device_registry_v2_send_output(registry, device);
  wl_resource_set_implementation(device, nullptr, &state, DeviceGone);
  state.Devices.push_back(device);
  // The mode, as KWin announces it: an object of the compositor's making.
  wl_resource* mode = wl_resource_create(client, &kde_output_device_mode_v2_interface, static_cast<int>(version), 0);
  kde_output_device_v2_send_mode(device, mode);
  kde_output_device_mode_v2_send_size(mode, state.Output.Width, state.Output.Height);
  kde_output_device_v2_send_current_mode(device, mode);
  kde_output_device_v2_send_name(device, state.Output.Name.c_str());
  kde_output_device_v2_send_capabilities(device,
                                         state.Output.IccCapability ? KDE_OUTPUT_DEVICE_V2_CAPABILITY_ICC_PROFILE : 0);
  SendProfile(device, state);
}

void BindDevice(wl_client* client, void* data, uint32_t version, uint32_t id) {
  AnnounceDevice(client, *static_cast<TOutputState*>(data), version, id);
}

// KWin from management version 21 lists the devices through a registry.
void BindDeviceRegistry(wl_client* client, void* data, uint32_t version, uint32_t id) {
  wl_resource* registry =
      wl_resource_create(client, &kde_output_device_registry_v2_interface, static_cast<int>(version), id);
  wl_resource_set_implementation(registry, nullptr, nullptr, nullptr);
  for (auto& state : static_cast<StandInCompositor*>(data)->Outputs)
    if (state->Global != nullptr) AnnounceDevice(client, *state, version, 0, registry);
}

// A configuration's changes until it is applied: output, profile.
struct TConfiguration {
  std::vector<std::pair<TOutputState*, TKdeProfileState>> Changes;
  uint32_t ManagementVersion = 0;
};

TConfiguration& ConfigurationOf(wl_resource* resource) {
  return *static_cast<TConfiguration*>(wl_resource_get_user_data(resource));
}

TKdeProfileState& Change(wl_resource* configuration, wl_resource* device) {
  auto* state = static_cast<TOutputState*>(wl_resource_get_user_data(device));
  auto& changes = ConfigurationOf(configuration).Changes;
  for (auto& [changed, profile] : changes)
    if (changed == state) return profile;
  changes.emplace_back(state, state->Output.Profile);
  return changes.back().second;
}

void SetProfilePath(wl_client*, wl_resource* configuration, wl_resource* device, const char* path) {
  TKdeProfileState& profile = Change(configuration, device);
  profile.Path = path;
  // KWin before the choice of source uses a profile whenever it has one.
  if (ConfigurationOf(configuration).ManagementVersion < ManagementVersionWithSource) profile.Source = path[0] != 0;
}

void SetProfileSource(wl_client*, wl_resource* configuration, wl_resource* device, uint32_t source) {
  Change(configuration, device).Source = source;
}

void Apply(wl_client*, wl_resource* configuration) {
  TConfiguration& pending = ConfigurationOf(configuration);
  if (!pending.Changes.empty()) {
    StandInCompositor& compositor = *pending.Changes.front().first->Compositor;
    std::string line = "apply";
    for (auto& [state, profile] : pending.Changes) {
      if (state->Output.IccCapability) state->Output.Profile = profile;
      line += " " + state->Output.Name + "=" + profile.Path + ":" + std::to_string(profile.Source);
      for (wl_resource* device : state->Devices) SendProfile(device, *state);
    }
    compositor.AppliedLines.push_back(line);
    if (compositor.Note) compositor.Note(line);
    for (auto& [state, profile] : pending.Changes) NoteProfile(*state);
    pending.Changes.clear();
  }
  kde_output_configuration_v2_send_applied(configuration);
}

void FreeConfiguration(wl_resource* resource) { delete &ConfigurationOf(resource); }

// The requests that the stand-in serves; a client sending another would
// fail the test.
const struct kde_output_configuration_v2_interface* ConfigurationRequests() {
  static const auto requests = [] {
    struct kde_output_configuration_v2_interface served{};
    served.apply = Apply;
    served.destroy = DestroyResource;
    served.set_icc_profile_path = SetProfilePath;
    served.set_color_profile_source = SetProfileSource;
    return served;
  }();
  return &requests;
}

void CreateConfiguration(wl_client* client, wl_resource* management, uint32_t id) {
  wl_resource* configuration = wl_resource_create(client, &kde_output_configuration_v2_interface,
                                                  wl_resource_get_version(management), id);
  auto* state = new TConfiguration;
  state->ManagementVersion = static_cast<uint32_t>(wl_resource_get_version(management));
  wl_resource_set_implementation(configuration, ConfigurationRequests(), state, FreeConfiguration);
}

const struct kde_output_management_v2_interface* ManagementRequests() {
  static const auto requests = [] {
    struct kde_output_management_v2_interface served{};
    served.create_configuration = CreateConfiguration;
    return served;
  }();
  return &requests;
}

void BindManagement(wl_client* client, void*, uint32_t version, uint32_t id) {
  wl_resource* management =
      wl_resource_create(client, &kde_output_management_v2_interface, static_cast<int>(version), id);
  wl_resource_set_implementation(management, ManagementRequests(), nullptr, nullptr);
}

}  // namespace

StandInCompositor::StandInCompositor(const std::string& socket, const std::vector<TStandInOutput>& outputs,
                                     TGammaControl gamma, uint32_t kdeManagementVersion,
                                     std::function<void(const std::string&)> note)
    : Gamma(gamma), KdeManagementVersion(kdeManagementVersion), Note(std::move(note)) {
  display_ = wl_display_create();
  wl_display_add_socket(display_, socket.c_str());
  if (gamma != TGammaControl::None)
    wl_global_create(display_, &zwlr_gamma_control_manager_v1_interface, 1, this, BindGammaManager);
  if (kdeManagementVersion > 0)
    wl_global_create(display_, &kde_output_management_v2_interface, static_cast<int>(kdeManagementVersion), nullptr,
                     BindManagement);
  if (kdeManagementVersion >= ManagementVersionWithDeviceRegistry)
    wl_global_create(display_, &kde_output_device_registry_v2_interface,
                     static_cast<int>(ManagementVersionWithDeviceRegistry), this, BindDeviceRegistry);
  for (const TStandInOutput& output : outputs) AddOutput(output);
  serving_ = std::thread([this] {
    wl_event_loop* loop = wl_display_get_event_loop(display_);
    pollfd events = {wl_event_loop_get_fd(loop), POLLIN, 0};
    while (!stop_) {
      poll(&events, 1, 20);
      std::lock_guard<std::recursive_mutex> hold(lock_);
      wl_event_loop_dispatch(loop, 0);
      wl_display_flush_clients(display_);
    }
  });
}

StandInCompositor::~StandInCompositor() {
  stop_ = true;
  serving_.join();
  wl_display_destroy_clients(display_);
  wl_display_destroy(display_);
}

void StandInCompositor::AddOutput(const TStandInOutput& output) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  auto state = std::make_unique<TOutputState>();
  state->Compositor = this;
  state->Output = output;
  state->Global =
      wl_global_create(display_, &wl_output_interface, static_cast<int>(output.OutputVersion), state.get(), BindOutput);
  if (KdeManagementVersion > 0 && KdeManagementVersion < ManagementVersionWithDeviceRegistry)
    state->DeviceGlobal = wl_global_create(
        display_, &kde_output_device_v2_interface,
        KdeManagementVersion >= ManagementVersionWithSource ? DeviceVersionWithSource : DeviceVersionWithProfile,
        state.get(), BindDevice);
  if (KdeManagementVersion > 0) NoteProfile(*state);
  Outputs.push_back(std::move(state));
  wl_display_flush_clients(display_);
}

StandInCompositor::TOutputState* StandInCompositor::Find(const std::string& name) {
  for (auto& state : Outputs)
    if (state->Output.Name == name && state->Global != nullptr) return state.get();
  return nullptr;
}

void StandInCompositor::RemoveOutput(const std::string& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  TOutputState* state = Find(name);
  if (state == nullptr) return;
  // wlroots fails the output's control when the output goes.
  if (state->Holder != nullptr) Fail(state->Holder);
  state->Holder = nullptr;
  wl_global_destroy(state->Global);
  state->Global = nullptr;
  if (state->DeviceGlobal != nullptr) wl_global_destroy(state->DeviceGlobal);
  state->DeviceGlobal = nullptr;
  wl_display_flush_clients(display_);
}

void StandInCompositor::SendFailed(const std::string& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  TOutputState* state = Find(name);
  if (state == nullptr || state->Holder == nullptr) return;
  Fail(state->Holder);
  Restore(*state);
  wl_display_flush_clients(display_);
}

void StandInCompositor::OfferWindows() {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  if (!windows_) windows_ = OfferStandInWindows(display_, Note);
}

bool StandInCompositor::PressKey(uint32_t key) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  const bool pressed = windows_ && PressKeyInLastWindow(*windows_, key);
  wl_display_flush_clients(display_);
  return pressed;
}

TShownTables StandInCompositor::Shown(const std::string& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  for (auto& state : Outputs)
    if (state->Output.Name == name) return state->Shown;
  return {};
}

bool StandInCompositor::Held(const std::string& name) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  TOutputState* state = Find(name);
  return state != nullptr && state->Holder != nullptr;
}

std::vector<TKdeProfileState> StandInCompositor::Profiles() {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  std::vector<TKdeProfileState> profiles;
  for (auto& state : Outputs)
    if (state->Global != nullptr) profiles.push_back(state->Output.Profile);
  return profiles;
}

std::vector<std::string> StandInCompositor::Applies() {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  return AppliedLines;
}

std::vector<TStandInOutput> StandInOutputsOf(const std::string& list) {
  std::vector<TStandInOutput> outputs;
  std::istringstream items(list);
  std::string item;
  while (std::getline(items, item, ',')) {
    TStandInOutput output;
    const size_t equals = item.find('=');
    if (equals != std::string::npos) output.Profile = {item.substr(equals + 1), 1};
    item = item.substr(0, equals);
    const size_t colon = item.find(':');
    output.Name = item.substr(0, colon);
    output.Description = "Maker Model (" + output.Name + ")";
    output.X = static_cast<int32_t>(outputs.size()) * output.Width;
    if (colon != std::string::npos) output.GammaSize = static_cast<uint32_t>(std::stoul(item.substr(colon + 1)));
    outputs.push_back(output);
  }
  return outputs;
}

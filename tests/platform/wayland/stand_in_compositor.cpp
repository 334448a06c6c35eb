#include "tests/platform/wayland/stand_in_compositor.h"

#include <stdlib.h>
#include <wayland-server-protocol.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "kde-output-device-v2-server.h"
#include "kde-output-management-v2-server.h"

namespace {
constexpr const char* SocketName = "wayland-test";
// KWin's output devices announce the profile from version 5 and its source
// from 7; the management sets the source from 8.
constexpr uint32_t DeviceVersionWithSource = 7;
constexpr uint32_t DeviceVersionWithProfile = 5;
constexpr uint32_t ManagementVersionWithSource = 8;
constexpr uint32_t ManagementVersionWithDeviceRegistry = 21;
}  // namespace

struct StandInCompositor::TKde {
  std::mutex Lock;
  std::vector<std::string> Applies;
  std::vector<TOutput*> Outputs;
  std::string ProfilesFile;
};

struct StandInCompositor::TOutput {
  TAnnounced Announced;
  TKdeProfileState Profile;
  std::vector<wl_resource*> Devices;
  TKde* Kde = nullptr;
};

namespace {

using TOutput = StandInCompositor::TOutput;

void BindOutput(wl_client* client, void* data, uint32_t version, uint32_t id) {
  const TAnnounced& output = static_cast<TOutput*>(data)->Announced;
  wl_resource* resource = wl_resource_create(client, &wl_output_interface, static_cast<int>(version), id);
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

void SendProfile(wl_resource* device, const TOutput& output) {
  kde_output_device_v2_send_icc_profile_path(device, output.Profile.Path.c_str());
  if (wl_resource_get_version(device) >= static_cast<int>(DeviceVersionWithSource))
    kde_output_device_v2_send_color_profile_source(device, output.Profile.Source);
  kde_output_device_v2_send_done(device);
}

void DeviceGone(wl_resource* device) {
  auto& devices = static_cast<TOutput*>(wl_resource_get_user_data(device))->Devices;
  devices.erase(std::remove(devices.begin(), devices.end(), device), devices.end());
}

// A device for the output, `id` 0 for one of the compositor's making; its
// announcement follows `announce`.
void AnnounceDevice(wl_client* client, TOutput& output, uint32_t version, uint32_t id,
                    wl_resource* registry = nullptr) {
  wl_resource* device = wl_resource_create(client, &kde_output_device_v2_interface, static_cast<int>(version), id);
  if (registry != nullptr) kde_output_device_registry_v2_send_output(registry, device);
  wl_resource_set_implementation(device, nullptr, &output, DeviceGone);
  output.Devices.push_back(device);
  // The mode, as KWin announces it: an object of the compositor's making.
  wl_resource* mode = wl_resource_create(client, &kde_output_device_mode_v2_interface, static_cast<int>(version), 0);
  kde_output_device_v2_send_mode(device, mode);
  kde_output_device_mode_v2_send_size(mode, output.Announced.Width, output.Announced.Height);
  kde_output_device_v2_send_current_mode(device, mode);
  kde_output_device_v2_send_name(device, output.Announced.Name.c_str());
  SendProfile(device, output);
}

void BindDevice(wl_client* client, void* data, uint32_t version, uint32_t id) {
  AnnounceDevice(client, *static_cast<TOutput*>(data), version, id);
}

// KWin from management version 21 lists the devices through a registry.
void BindDeviceRegistry(wl_client* client, void* data, uint32_t version, uint32_t id) {
  wl_resource* registry =
      wl_resource_create(client, &kde_output_device_registry_v2_interface, static_cast<int>(version), id);
  wl_resource_set_implementation(registry, nullptr, nullptr, nullptr);
  for (TOutput* output : static_cast<StandInCompositor::TKde*>(data)->Outputs)
    AnnounceDevice(client, *output, version, 0, registry);
}

// A configuration's changes until it is applied: output, profile.
struct TConfiguration {
  std::vector<std::pair<TOutput*, TKdeProfileState>> Changes;
  uint32_t ManagementVersion = 0;
};

TConfiguration& ConfigurationOf(wl_resource* resource) {
  return *static_cast<TConfiguration*>(wl_resource_get_user_data(resource));
}

TKdeProfileState& Change(wl_resource* configuration, wl_resource* device) {
  auto* output = static_cast<TOutput*>(wl_resource_get_user_data(device));
  auto& changes = ConfigurationOf(configuration).Changes;
  for (auto& [changed, profile] : changes)
    if (changed == output) return profile;
  changes.emplace_back(output, output->Profile);
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

void WriteProfiles(const std::string& path, const std::vector<TOutput*>& outputs) {
  if (path.empty()) return;
  {
    std::ofstream out(path + ".tmp");
    for (const TOutput* output : outputs)
      out << output->Announced.Name << ' ' << output->Profile.Source << ' ' << output->Profile.Path << '\n';
  }
  std::rename((path + ".tmp").c_str(), path.c_str());
}

void Apply(wl_client*, wl_resource* configuration) {
  TConfiguration& pending = ConfigurationOf(configuration);
  if (pending.Changes.empty()) {
    kde_output_configuration_v2_send_applied(configuration);
    return;
  }
  StandInCompositor::TKde& kde = *pending.Changes.front().first->Kde;
  std::lock_guard<std::mutex> lock(kde.Lock);
  std::string line = "apply";
  for (auto& [output, profile] : pending.Changes) {
    output->Profile = profile;
    line += " " + output->Announced.Name + "=" + profile.Path + ":" + std::to_string(profile.Source);
    for (wl_resource* device : output->Devices) SendProfile(device, *output);
  }
  kde.Applies.push_back(line);
  WriteProfiles(kde.ProfilesFile, kde.Outputs);
  pending.Changes.clear();
  kde_output_configuration_v2_send_applied(configuration);
}

void DestroyResource(wl_client*, wl_resource* resource) { wl_resource_destroy(resource); }

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

StandInCompositor::StandInCompositor(const std::vector<TAnnounced>& outputs, uint32_t kdeManagementVersion,
                                     std::vector<TKdeProfileState> profiles) {
  setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
  setenv("WAYLAND_DISPLAY", SocketName, 1);
  display_ = wl_display_create();
  wl_display_add_socket(display_, SocketName);
  TKde* kde = kdeManagementVersion > 0 ? new TKde : nullptr;
  for (size_t i = 0; i < outputs.size(); ++i) {
    auto* output = new TOutput{outputs[i], i < profiles.size() ? profiles[i] : TKdeProfileState{}, {}, kde};
    outputs_.push_back(output);
    if (kde != nullptr) kde->Outputs.push_back(output);
    wl_global_create(display_, &wl_output_interface, 4, output, BindOutput);
    if (kde != nullptr && kdeManagementVersion < ManagementVersionWithDeviceRegistry)
      wl_global_create(display_, &kde_output_device_v2_interface,
                       kdeManagementVersion >= ManagementVersionWithSource ? DeviceVersionWithSource
                                                                           : DeviceVersionWithProfile,
                       output, BindDevice);
  }
  if (kde != nullptr)
    wl_global_create(display_, &kde_output_management_v2_interface, static_cast<int>(kdeManagementVersion), nullptr,
                     BindManagement);
  if (kde != nullptr && kdeManagementVersion >= ManagementVersionWithDeviceRegistry)
    wl_global_create(display_, &kde_output_device_registry_v2_interface,
                     static_cast<int>(ManagementVersionWithDeviceRegistry), kde, BindDeviceRegistry);
  serving_ = std::thread([this] {
    wl_event_loop* loop = wl_display_get_event_loop(display_);
    while (!stop_) {
      wl_event_loop_dispatch(loop, 20);
      wl_display_flush_clients(display_);
    }
  });
}

StandInCompositor::~StandInCompositor() {
  stop_ = true;
  serving_.join();
  wl_display_destroy_clients(display_);
  wl_display_destroy(display_);
  if (!outputs_.empty()) delete outputs_.front()->Kde;
  for (TOutput* output : outputs_) delete output;
}

std::string StandInCompositor::SocketPath() const { return (runtime_.Path() / SocketName).string(); }

std::vector<TKdeProfileState> StandInCompositor::Profiles() {
  std::vector<TKdeProfileState> profiles;
  if (outputs_.empty() || outputs_.front()->Kde == nullptr) return profiles;
  std::lock_guard<std::mutex> lock(outputs_.front()->Kde->Lock);
  for (const TOutput* output : outputs_) profiles.push_back(output->Profile);
  return profiles;
}

std::vector<std::string> StandInCompositor::Applies() {
  if (outputs_.empty() || outputs_.front()->Kde == nullptr) return {};
  std::lock_guard<std::mutex> lock(outputs_.front()->Kde->Lock);
  return outputs_.front()->Kde->Applies;
}

void StandInCompositor::WriteProfilesTo(const std::string& path) {
  if (outputs_.empty() || outputs_.front()->Kde == nullptr) return;
  TKde& kde = *outputs_.front()->Kde;
  std::lock_guard<std::mutex> lock(kde.Lock);
  kde.ProfilesFile = path;
  WriteProfiles(path, kde.Outputs);
}

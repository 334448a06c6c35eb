#include "platform/wayland/kde_output_management.h"

#include <wayland-client-core.h>
#include <wayland-client-protocol.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>
#include <utility>

#include "kde-output-device-v2-client-protocol.h"
#include "kde-output-management-v2-client-protocol.h"
#include "lang/multilang.h"
#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/wayland_client_library.h"

namespace {

constexpr uint32_t ProfileVersion = KDE_OUTPUT_CONFIGURATION_V2_SET_ICC_PROFILE_PATH_SINCE_VERSION;
constexpr uint32_t SourceVersion = KDE_OUTPUT_CONFIGURATION_V2_SET_COLOR_PROFILE_SOURCE_SINCE_VERSION;
// A device announces whether it takes a profile from this version on.
constexpr uint32_t IccCapabilityVersion = KDE_OUTPUT_DEVICE_V2_CAPABILITY_ICC_PROFILE_SINCE_VERSION;
// The registry of output devices is bound at this version or not at all.
constexpr uint32_t DeviceRegistryVersion = KDE_OUTPUT_DEVICE_REGISTRY_V2_OUTPUT_SINCE_VERSION;
// KWin answers a configuration once it has applied it to the hardware.
constexpr int AnswerPolls = 250;
constexpr auto AnswerPause = std::chrono::milliseconds(20);

struct TDevice {
  wl_proxy* Proxy = nullptr;
  TKdeOutputProfile Profile;
  std::vector<wl_proxy*> Modes;
  // Unknown until the device announces them: then taken as able, and the
  // profile read back tells.
  std::optional<uint32_t> Capabilities;
};

struct TGlobal {
  uint32_t Name = 0;
  uint32_t Version = 0;
};

enum class TAnswer { None, Applied, Failed };

struct TConfiguration {
  TAnswer Answer = TAnswer::None;
  std::string Reason;
};

std::string Text(const char* text) { return text != nullptr ? text : ""; }

// Events are taken by name through a dispatcher rather than a listener,
// which would need a function for each of the protocol's many events.
int DeviceEvent(const void* device, void*, uint32_t, const wl_message* message, wl_argument* arguments) {
  TDevice& to = *static_cast<TDevice*>(const_cast<void*>(device));
  const char* name = message->name;
  if (std::strcmp(name, "name") == 0) to.Profile.Output = Text(arguments[0].s);
  else if (std::strcmp(name, "icc_profile_path") == 0) to.Profile.Path = Text(arguments[0].s);
  else if (std::strcmp(name, "color_profile_source") == 0) to.Profile.Source = arguments[0].u;
  else if (std::strcmp(name, "capabilities") == 0) to.Capabilities = arguments[0].u;
  else if (std::strcmp(name, "mode") == 0) to.Modes.push_back(reinterpret_cast<wl_proxy*>(arguments[0].o));
  return 0;
}

int ConfigurationEvent(const void* configuration, void*, uint32_t, const wl_message* message,
                       wl_argument* arguments) {
  TConfiguration& to = *static_cast<TConfiguration*>(const_cast<void*>(configuration));
  const char* name = message->name;
  if (std::strcmp(name, "applied") == 0) to.Answer = TAnswer::Applied;
  else if (std::strcmp(name, "failed") == 0) to.Answer = TAnswer::Failed;
  else if (std::strcmp(name, "failure_reason") == 0) to.Reason = Text(arguments[0].s);
  return 0;
}

int DeviceRegistryEvent(const void* connection, void*, uint32_t, const wl_message* message,
                        wl_argument* arguments);
void Global(void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version);
void GlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener RegistryListener = {Global, GlobalRemove};

}  // namespace

struct TKdeOutputManagement::TConnection {
  const TWaylandLibrary* Wl = nullptr;
  wl_display* Display = nullptr;
  wl_proxy* Registry = nullptr;
  wl_proxy* Management = nullptr;
  uint32_t ManagementVersion = 0;
  TGlobal ManagementGlobal;
  std::vector<TGlobal> DeviceGlobals;
  TGlobal DeviceRegistryGlobal;
  wl_proxy* DeviceRegistry = nullptr;
  std::vector<std::unique_ptr<TDevice>> Devices;

  void AddDevice(wl_proxy* proxy) {
    if (proxy == nullptr) return;
    auto device = std::make_unique<TDevice>();
    device->Proxy = proxy;
    Wl->AddDispatcher(proxy, DeviceEvent, device.get(), nullptr);
    Devices.push_back(std::move(device));
  }

  ~TConnection() {
    for (const auto& device : Devices) {
      for (wl_proxy* mode : device->Modes) Wl->Destroy(mode);
      Wl->Destroy(device->Proxy);
    }
    if (Management != nullptr) Wl->Destroy(Management);
    if (DeviceRegistry != nullptr) Wl->Destroy(DeviceRegistry);
    if (Registry != nullptr) Wl->Destroy(Registry);
    if (Display != nullptr) Wl->Disconnect(Display);
  }
};

namespace {

void Global(void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
  auto& connection = *static_cast<TKdeOutputManagement::TConnection*>(data);
  if (std::strcmp(interface, kde_output_management_v2_interface.name) == 0) connection.ManagementGlobal = {name, version};
  else if (std::strcmp(interface, kde_output_device_v2_interface.name) == 0)
    connection.DeviceGlobals.push_back({name, version});
  else if (std::strcmp(interface, kde_output_device_registry_v2_interface.name) == 0)
    connection.DeviceRegistryGlobal = {name, version};
}

int DeviceRegistryEvent(const void* connection, void*, uint32_t, const wl_message* message,
                        wl_argument* arguments) {
  auto& to = *static_cast<TKdeOutputManagement::TConnection*>(const_cast<void*>(connection));
  if (std::strcmp(message->name, "output") == 0) to.AddDevice(reinterpret_cast<wl_proxy*>(arguments[0].o));
  return 0;
}

}  // namespace

TKdeOutputManagement::TKdeOutputManagement() : connection_(std::make_unique<TConnection>()) {
  TConnection& c = *connection_;
  c.Wl = WaylandClient();
  if (c.Wl == nullptr) {
    problem_ = Translate("MWaylandLibraryUnloadable");
    return;
  }
  const TWaylandLibrary& wl = *c.Wl;
  c.Display = wl.Connect(nullptr);
  if (c.Display == nullptr) {
    problem_ = Translate("MCompositorUnreachable");
    return;
  }
  c.Registry = GetRegistry(wl, c.Display);
  if (c.Registry == nullptr) {
    problem_ = Translate("MCompositorListsNoGlobals");
    return;
  }
  Listen(wl, c.Registry, RegistryListener, &c);
  wl.Roundtrip(c.Display);
  if (c.ManagementGlobal.Version < ProfileVersion) {
    problem_ = c.ManagementGlobal.Version == 0
                   ? Translate("MNoKdeOutputManagement")
                   : Worded("MKdeOutputManagementTooOld", {{"%v", std::to_string(c.ManagementGlobal.Version)}});
    return;
  }
  c.ManagementVersion = std::min<uint32_t>(c.ManagementGlobal.Version, kde_output_management_v2_interface.version);
  c.Management = BindGlobal(wl, c.Registry, c.ManagementGlobal.Name, &kde_output_management_v2_interface,
                            c.ManagementVersion);
  // A newer KWin lists its output devices through a registry; before, each
  // was a global.
  if (c.DeviceRegistryGlobal.Version >= DeviceRegistryVersion) {
    c.DeviceRegistry = BindGlobal(
        wl, c.Registry, c.DeviceRegistryGlobal.Name, &kde_output_device_registry_v2_interface,
        std::min<uint32_t>(c.DeviceRegistryGlobal.Version, kde_output_device_registry_v2_interface.version));
    if (c.DeviceRegistry != nullptr) wl.AddDispatcher(c.DeviceRegistry, DeviceRegistryEvent, &c, nullptr);
  } else {
    for (const TGlobal& global : c.DeviceGlobals)
      c.AddDevice(BindGlobal(wl, c.Registry, global.Name, &kde_output_device_v2_interface,
                             std::min<uint32_t>(global.Version, kde_output_device_v2_interface.version)));
  }
  // The devices (from the registry), then what each announces.
  wl.Roundtrip(c.Display);
  wl.Roundtrip(c.Display);
}

TKdeOutputManagement::~TKdeOutputManagement() = default;

std::vector<TKdeOutputProfile> TKdeOutputManagement::Profiles() const {
  std::vector<TKdeOutputProfile> profiles;
  for (const auto& device : connection_->Devices) profiles.push_back(device->Profile);
  return profiles;
}

bool TKdeOutputManagement::TakesProfile(const std::string& output) const {
  const TConnection& c = *connection_;
  for (const auto& device : c.Devices) {
    if (device->Profile.Output != output) continue;
    // Before the flag existed a device could not say either way.
    return !device->Capabilities || c.Wl->GetVersion(device->Proxy) < IccCapabilityVersion ||
           (*device->Capabilities & KDE_OUTPUT_DEVICE_V2_CAPABILITY_ICC_PROFILE) != 0;
  }
  return true;
}

std::string TKdeOutputManagement::Assign(const std::vector<TKdeOutputProfile>& profiles) {
  if (!problem_.empty()) return problem_;
  TConnection& c = *connection_;
  const TWaylandLibrary& wl = *c.Wl;
  // An output unplugged since the profiles were chosen must not cost the
  // others theirs: it is left out, and missing from Profiles() afterwards.
  std::vector<std::pair<wl_proxy*, const TKdeOutputProfile*>> changes;
  for (const TKdeOutputProfile& profile : profiles) {
    const auto device = std::find_if(c.Devices.begin(), c.Devices.end(),
                                     [&](const auto& known) { return known->Profile.Output == profile.Output; });
    if (device != c.Devices.end()) changes.emplace_back((*device)->Proxy, &profile);
  }
  if (changes.empty()) return "";
  wl_proxy* configuration = wl.MarshalFlags(c.Management, KDE_OUTPUT_MANAGEMENT_V2_CREATE_CONFIGURATION,
                                            &kde_output_configuration_v2_interface, c.ManagementVersion, 0, nullptr);
  if (configuration == nullptr) return Translate("MKWinMadeNoConfiguration");
  TConfiguration answer;
  wl.AddDispatcher(configuration, ConfigurationEvent, &answer, nullptr);
  for (const auto& [device, profile] : changes) {
    wl.MarshalFlags(configuration, KDE_OUTPUT_CONFIGURATION_V2_SET_ICC_PROFILE_PATH, nullptr, c.ManagementVersion, 0,
                    device, profile->Path.c_str());
    if (c.ManagementVersion >= SourceVersion)
      wl.MarshalFlags(configuration, KDE_OUTPUT_CONFIGURATION_V2_SET_COLOR_PROFILE_SOURCE, nullptr,
                      c.ManagementVersion, 0, device, profile->Source);
  }
  wl.MarshalFlags(configuration, KDE_OUTPUT_CONFIGURATION_V2_APPLY, nullptr, c.ManagementVersion, 0);
  for (int poll = 0; poll < AnswerPolls && answer.Answer == TAnswer::None; ++poll) {
    if (wl.Roundtrip(c.Display) < 0) break;
    if (answer.Answer == TAnswer::None) std::this_thread::sleep_for(AnswerPause);
  }
  wl.MarshalFlags(configuration, KDE_OUTPUT_CONFIGURATION_V2_DESTROY, nullptr, c.ManagementVersion,
                  WL_MARSHAL_FLAG_DESTROY);
  // The devices announce what KWin now holds.
  wl.Roundtrip(c.Display);
  switch (answer.Answer) {
    case TAnswer::Applied: return "";
    case TAnswer::Failed:
      return Translate("MKWinDidNotApply") + (answer.Reason.empty() ? "" : ": " + answer.Reason);  // KWin's own words
    case TAnswer::None: break;
  }
  return Translate("MKWinDidNotAnswer");
}

bool KWinAssignsProfiles() { return TKdeOutputManagement().Problem().empty(); }

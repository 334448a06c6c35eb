#include "tests/profile/colord_stand_in.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace {

constexpr char DaemonProgram[] = "/usr/bin/dbus-daemon";
constexpr char Service[] = "org.freedesktop.ColorManager";
constexpr char ManagerPath[] = "/org/freedesktop/ColorManager";
constexpr char DeviceInterface[] = "org.freedesktop.ColorManager.Device";
constexpr char ProfileInterface[] = "org.freedesktop.ColorManager.Profile";
constexpr char DevicePathPrefix[] = "/org/freedesktop/ColorManager/devices/xrandr_";
constexpr char ProfilePathPrefix[] = "/org/freedesktop/ColorManager/profiles/icc_";
constexpr char NotFoundError[] = "org.freedesktop.ColorManager.NotFound";
constexpr char AlreadyExistsError[] = "org.freedesktop.ColorManager.AlreadyExists";
constexpr uint64_t WaitMicroseconds = 50000;

ColordStandIn& Self(void* data) { return *static_cast<ColordStandIn*>(data); }

int ManagerCall(const char* method, sd_bus_message* m, void* data, sd_bus_error* e) {
  return Self(data).Answer(method, m, e, nullptr);
}
int DeviceCall(const char* method, sd_bus_message* m, void* data, sd_bus_error* e) {
  auto* device = static_cast<ColordStandIn::TDevice*>(data);
  return device->Self->Answer(method, m, e, device);
}
int FindDeviceByProperty(sd_bus_message* m, void* data, sd_bus_error* e) {
  return ManagerCall("FindDeviceByProperty", m, data, e);
}
int CreateProfileWithFd(sd_bus_message* m, void* data, sd_bus_error* e) {
  return ManagerCall("CreateProfileWithFd", m, data, e);
}
int FindProfileById(sd_bus_message* m, void* data, sd_bus_error* e) { return ManagerCall("FindProfileById", m, data, e); }
int AddProfile(sd_bus_message* m, void* data, sd_bus_error* e) { return DeviceCall("AddProfile", m, data, e); }
int RemoveProfile(sd_bus_message* m, void* data, sd_bus_error* e) { return DeviceCall("RemoveProfile", m, data, e); }
int MakeProfileDefault(sd_bus_message* m, void* data, sd_bus_error* e) {
  return DeviceCall("MakeProfileDefault", m, data, e);
}
int Profiles(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* data, sd_bus_error*) {
  auto* device = static_cast<ColordStandIn::TDevice*>(data);
  return device->Self->ListProfiles(reply, device);
}
int ProfileText(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply, void* data,
                sd_bus_error*) {
  const auto* profile = static_cast<ColordStandIn::TProfile*>(data);
  return sd_bus_message_append(reply, "s", std::string(property) == "ProfileId" ? profile->Id.c_str()
                                                                                 : profile->Filename.c_str());
}

const sd_bus_vtable ManagerTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("FindDeviceByProperty", "ss", "o", FindDeviceByProperty, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("CreateProfileWithFd", "ssha{ss}", "o", CreateProfileWithFd, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("FindProfileById", "s", "o", FindProfileById, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable DeviceTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("AddProfile", "so", "", AddProfile, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("RemoveProfile", "o", "", RemoveProfile, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("MakeProfileDefault", "o", "", MakeProfileDefault, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_PROPERTY("Profiles", "ao", Profiles, 0, 0),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable ProfileTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("ProfileId", "s", ProfileText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Filename", "s", ProfileText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_VTABLE_END,
};

sd_bus* Connect(const std::string& address) {
  sd_bus* bus = nullptr;
  if (sd_bus_new(&bus) < 0) return nullptr;
  if (sd_bus_set_address(bus, address.c_str()) < 0 || sd_bus_set_bus_client(bus, 1) < 0 ||
      sd_bus_negotiate_fds(bus, 1) < 0 || sd_bus_start(bus) < 0) {
    sd_bus_unref(bus);
    return nullptr;
  }
  return bus;
}

sd_bus* ConnectWithin(const std::string& address, std::chrono::seconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  sd_bus* bus = nullptr;
  while (bus == nullptr && std::chrono::steady_clock::now() < deadline) {
    bus = Connect(address);
    if (bus == nullptr) usleep(20000);
  }
  return bus;
}

}  // namespace

ColordStandIn::ColordStandIn(const std::string& output) : address_("unix:path=" + folder_.File("bus")) {
  if (!output.empty()) outputs_.push_back(output);
  std::string addressOption = "--address=" + address_;
  char* argv[] = {const_cast<char*>(DaemonProgram), const_cast<char*>("--session"),
                  const_cast<char*>("--nofork"), const_cast<char*>("--nopidfile"),
                  addressOption.data(), nullptr};
  char* envp[] = {const_cast<char*>("PATH=/usr/bin:/bin"), nullptr};
  posix_spawn_file_actions_t output_actions;
  posix_spawn_file_actions_init(&output_actions);
  posix_spawn_file_actions_addopen(&output_actions, STDERR_FILENO, folder_.File("daemon.log").c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (posix_spawn(&daemon_, DaemonProgram, &output_actions, nullptr, argv, envp) != 0) daemon_ = -1;
  posix_spawn_file_actions_destroy(&output_actions);
  if (daemon_ <= 0) return;
  sd_bus* bus = ConnectWithin(address_, std::chrono::seconds(10));
  if (bus == nullptr || outputs_.empty()) {
    if (bus != nullptr) sd_bus_close_unref(bus);
    return;
  }
  Start(bus);
}

ColordStandIn::ColordStandIn(const std::string& address, const std::vector<std::string>& outputs)
    : address_(address), outputs_(outputs) {
  if (sd_bus* bus = ConnectWithin(address_, std::chrono::seconds(10))) Start(bus);
}

void ColordStandIn::Start(sd_bus* bus) {
  bool ok = sd_bus_add_object_vtable(bus, nullptr, ManagerPath, Service, ManagerTable, this) >= 0;
  for (size_t i = 0; i < outputs_.size() && ok; ++i) {
    devices_.push_back(new TDevice{this, i, DevicePathPrefix + std::to_string(i + 1), {}});
    ok = sd_bus_add_object_vtable(bus, nullptr, devices_.back()->Path.c_str(), DeviceInterface, DeviceTable,
                                  devices_.back()) >= 0;
  }
  if (!ok || sd_bus_request_name(bus, Service, 0) < 0) {
    sd_bus_close_unref(bus);
    return;
  }
  bus_ = bus;
  server_ = std::thread([this] { Serve(); });
}

ColordStandIn::~ColordStandIn() {
  stop_ = true;
  if (server_.joinable()) server_.join();
  if (bus_ != nullptr) sd_bus_close_unref(bus_);
  for (TProfile* profile : profiles_) {
    sd_bus_slot_unref(profile->Slot);
    delete profile;
  }
  for (TDevice* device : devices_) delete device;
  if (daemon_ > 0) {
    kill(daemon_, SIGTERM);
    waitpid(daemon_, nullptr, 0);
  }
}

void ColordStandIn::Serve() {
  while (!stop_) {
    int processed = 0;
    {
      std::lock_guard lock(mutex_);
      processed = sd_bus_process(bus_, nullptr);
    }
    if (processed <= 0) sd_bus_wait(bus_, WaitMicroseconds);
  }
}

ColordStandIn::TProfile* ColordStandIn::ProfileAt(const std::string& path) {
  for (TProfile* profile : profiles_)
    if (profile->Path == path) return profile;
  return nullptr;
}

void ColordStandIn::TellDefault(TDevice& device) {
  if (DefaultChanged) DefaultChanged(device.Output, device.Profiles.empty() ? "" : device.Profiles.front()->Bytes);
}

int ColordStandIn::ListProfiles(void* message, TDevice* device) {
  std::lock_guard lock(mutex_);
  auto* reply = static_cast<sd_bus_message*>(message);
  sd_bus_message_open_container(reply, 'a', "o");
  for (const TProfile* profile : device->Profiles) sd_bus_message_append(reply, "o", profile->Path.c_str());
  return sd_bus_message_close_container(reply);
}

int ColordStandIn::Answer(const std::string& method, void* message, void* failure, TDevice* device) {
  std::lock_guard lock(mutex_);
  auto* call = static_cast<sd_bus_message*>(message);
  auto* error = static_cast<sd_bus_error*>(failure);
  if (method == "FindDeviceByProperty") {
    const char *key = nullptr, *value = nullptr;
    sd_bus_message_read(call, "ss", &key, &value);
    calls_.push_back(method + " " + key + " " + value);
    const auto found = std::find(outputs_.begin(), outputs_.end(), value);
    if (found == outputs_.end()) return sd_bus_error_set(error, NotFoundError, "device not found");
    return sd_bus_reply_method_return(call, "o", devices_[found - outputs_.begin()]->Path.c_str());
  }
  if (method == "CreateProfileWithFd") {
    const char *id = nullptr, *scope = nullptr;
    int fd = -1;
    sd_bus_message_read(call, "ssh", &id, &scope, &fd);
    std::string line = method + " " + id + " " + scope, filename;
    sd_bus_message_enter_container(call, 'a', "{ss}");
    const char *key = nullptr, *value = nullptr;
    while (sd_bus_message_read(call, "{ss}", &key, &value) > 0) {
      line += std::string(" ") + key + "=" + value;
      if (std::string(key) == "Filename") filename = value;
    }
    std::string bytes;
    char buffer[4096];
    for (ssize_t n; (n = pread(fd, buffer, sizeof buffer, bytes.size())) > 0;) bytes.append(buffer, n);
    bytes_ = bytes;
    calls_.push_back(line);
    for (const TProfile* profile : profiles_)
      if (profile->Id == id) return sd_bus_error_set(error, AlreadyExistsError, "profile id already exists");
    auto* profile = new TProfile{this, id, filename, ProfilePathPrefix + std::to_string(profiles_.size() + 1), bytes};
    profiles_.push_back(profile);
    sd_bus_add_object_vtable(bus_, &profile->Slot, profile->Path.c_str(), ProfileInterface, ProfileTable, profile);
    return sd_bus_reply_method_return(call, "o", profile->Path.c_str());
  }
  if (method == "FindProfileById") {
    const char* id = nullptr;
    sd_bus_message_read(call, "s", &id);
    calls_.push_back(method + " " + id);
    for (const TProfile* profile : profiles_)
      if (profile->Id == id) return sd_bus_reply_method_return(call, "o", profile->Path.c_str());
    return sd_bus_error_set(error, NotFoundError, "profile not found");
  }
  const char *relation = nullptr, *path = nullptr;
  if (method == "AddProfile") sd_bus_message_read(call, "so", &relation, &path);
  else sd_bus_message_read(call, "o", &path);
  calls_.push_back(method + (relation != nullptr ? std::string(" ") + relation : "") + " " + path);
  TProfile* profile = ProfileAt(path);
  if (profile == nullptr) return sd_bus_error_set(error, NotFoundError, "profile not found");
  std::vector<TProfile*>& list = device->Profiles;
  const auto at = std::find(list.begin(), list.end(), profile);
  if (method == "AddProfile") {
    if (at != list.end()) return sd_bus_error_set(error, "org.freedesktop.ColorManager.Device.ProfileAlreadyAdded", "");
    list.push_back(profile);
    if (list.size() == 1) TellDefault(*device);
  } else if (at == list.end()) {
    return sd_bus_error_set(error, NotFoundError, "profile not on the device");
  } else {
    const bool wasDefault = at == list.begin();
    list.erase(at);
    if (method == "MakeProfileDefault") list.insert(list.begin(), profile);
    if (method == "MakeProfileDefault" || wasDefault) TellDefault(*device);
  }
  return sd_bus_reply_method_return(call, "");
}

std::vector<std::string> ColordStandIn::Calls() {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::string ColordStandIn::PassedBytes() {
  std::lock_guard lock(mutex_);
  return bytes_;
}

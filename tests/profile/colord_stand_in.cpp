#include "tests/profile/colord_stand_in.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <chrono>

namespace {

constexpr char DaemonProgram[] = "/usr/bin/dbus-daemon";
constexpr char Service[] = "org.freedesktop.ColorManager";
constexpr char ManagerPath[] = "/org/freedesktop/ColorManager";
constexpr char DeviceInterface[] = "org.freedesktop.ColorManager.Device";
constexpr uint64_t WaitMicroseconds = 50000;

ColordStandIn& Self(void* data) { return *static_cast<ColordStandIn*>(data); }

int FindDeviceByProperty(sd_bus_message* call, void* data, sd_bus_error* error) {
  const char *key = nullptr, *value = nullptr;
  sd_bus_message_read(call, "ss", &key, &value);
  Self(data).Record(std::string("FindDeviceByProperty ") + key + " " + value);
  if (Self(data).Output() != value) {
    return sd_bus_error_set(error, "org.freedesktop.ColorManager.NotFound", "device not found");
  }
  return sd_bus_reply_method_return(call, "o", ColordStandIn::DevicePath);
}

int CreateProfileWithFd(sd_bus_message* call, void* data, sd_bus_error*) {
  const char *id = nullptr, *scope = nullptr;
  int fd = -1;
  sd_bus_message_read(call, "ssh", &id, &scope, &fd);
  std::string line = std::string("CreateProfileWithFd ") + id + " " + scope;
  sd_bus_message_enter_container(call, 'a', "{ss}");
  const char *key = nullptr, *value = nullptr;
  while (sd_bus_message_read(call, "{ss}", &key, &value) > 0) line += std::string(" ") + key + "=" + value;
  std::string bytes;
  char buffer[4096];
  for (ssize_t n; (n = pread(fd, buffer, sizeof buffer, bytes.size())) > 0;) bytes.append(buffer, n);
  Self(data).KeepBytes(bytes);
  Self(data).Record(line);
  return sd_bus_reply_method_return(call, "o", ColordStandIn::ProfilePath);
}

int AddProfile(sd_bus_message* call, void* data, sd_bus_error*) {
  const char *relation = nullptr, *profile = nullptr;
  sd_bus_message_read(call, "so", &relation, &profile);
  Self(data).Record(std::string("AddProfile ") + relation + " " + profile);
  return sd_bus_reply_method_return(call, "");
}

int MakeProfileDefault(sd_bus_message* call, void* data, sd_bus_error*) {
  const char* profile = nullptr;
  sd_bus_message_read(call, "o", &profile);
  Self(data).Record(std::string("MakeProfileDefault ") + profile);
  return sd_bus_reply_method_return(call, "");
}

const sd_bus_vtable ManagerTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("FindDeviceByProperty", "ss", "o", FindDeviceByProperty, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("CreateProfileWithFd", "ssha{ss}", "o", CreateProfileWithFd, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable DeviceTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("AddProfile", "so", "", AddProfile, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("MakeProfileDefault", "o", "", MakeProfileDefault, SD_BUS_VTABLE_UNPRIVILEGED),
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

}  // namespace

ColordStandIn::ColordStandIn(const std::string& output) : output_(output) {
  std::string addressOption = "--address=" + Address();
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

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  sd_bus* bus = nullptr;
  while (bus == nullptr && std::chrono::steady_clock::now() < deadline) {
    bus = Connect(Address());
    if (bus == nullptr) usleep(20000);
  }
  if (bus == nullptr || output_.empty()) {
    if (bus != nullptr) sd_bus_close_unref(bus);
    return;
  }
  if (sd_bus_add_object_vtable(bus, nullptr, ManagerPath, Service, ManagerTable, this) < 0 ||
      sd_bus_add_object_vtable(bus, nullptr, DevicePath, DeviceInterface, DeviceTable, this) < 0 ||
      sd_bus_request_name(bus, Service, 0) < 0) {
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
  if (daemon_ > 0) {
    kill(daemon_, SIGTERM);
    waitpid(daemon_, nullptr, 0);
  }
}

void ColordStandIn::Serve() {
  while (!stop_) {
    if (sd_bus_process(bus_, nullptr) > 0) continue;
    sd_bus_wait(bus_, WaitMicroseconds);
  }
}

void ColordStandIn::Record(const std::string& call) {
  std::lock_guard lock(mutex_);
  calls_.push_back(call);
}

void ColordStandIn::KeepBytes(std::string bytes) {
  std::lock_guard lock(mutex_);
  bytes_ = std::move(bytes);
}

std::vector<std::string> ColordStandIn::Calls() {
  std::lock_guard lock(mutex_);
  return calls_;
}

std::string ColordStandIn::PassedBytes() {
  std::lock_guard lock(mutex_);
  return bytes_;
}

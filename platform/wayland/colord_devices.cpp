#include "platform/wayland/colord_devices.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/sd_bus_library.h"

namespace {

constexpr const char* Service = "org.freedesktop.ColorManager";
constexpr const char* ManagerPath = "/org/freedesktop/ColorManager";
constexpr const char* ManagerInterface = "org.freedesktop.ColorManager";
constexpr const char* DeviceInterface = "org.freedesktop.ColorManager.Device";
constexpr const char* ProfileInterface = "org.freedesktop.ColorManager.Profile";
constexpr const char* OutputProperty = "XRANDR_name";
constexpr const char* OwnIdPrefix = "icc-tonemark-";

std::string ErrorText(const TSdBusCall& call, int result) {
  if (call.Error.message != nullptr) return call.Error.message;
  if (call.Error.name != nullptr) return call.Error.name;
  return std::strerror(-result);
}

bool NameEndsWith(const TSdBusCall& call, const char* tail) {
  return call.Error.name != nullptr && std::string(call.Error.name).ends_with(tail);
}

// The object path a call answered with, or empty.
std::string ReadPath(const TSdBusLibrary& sd, TSdBusCall& call) {
  const char* path = nullptr;
  return sd.Read(call.Reply, "o", &path) > 0 ? path : "";
}

}  // namespace

std::string ColordProfileId(const std::string& bytes) {
  uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ull;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return OwnIdPrefix + std::string(hex);
}

TColordDevices::TColordDevices() : sd_(SdBusLibrary()) {
  if (sd_ == nullptr || sd_->OpenSystem(&bus_) < 0) bus_ = nullptr;
}

TColordDevices::~TColordDevices() {
  if (bus_ != nullptr) sd_->FlushCloseUnref(bus_);
}

bool TColordDevices::Answers() {
  if (bus_ == nullptr) return false;
  TSdBusCall call(*sd_);
  return sd_->CallMethod(bus_, Service, ManagerPath, "org.freedesktop.DBus.Peer", "Ping", &call.Error, &call.Reply,
                         "") >= 0;
}

std::string TColordDevices::FindDevice(const std::string& connector, std::string& device) {
  if (bus_ == nullptr) return NoColordReason();
  TSdBusCall call(*sd_);
  const int result = sd_->CallMethod(bus_, Service, ManagerPath, ManagerInterface, "FindDeviceByProperty",
                                     &call.Error, &call.Reply, "ss", OutputProperty, connector.c_str());
  if (result < 0) return Worded("MColordKnowsNoDevice", {{"%s", connector}, {"%r", ErrorText(call, result)}});
  device = ReadPath(*sd_, call);
  return "";
}

std::string TColordDevices::DeviceProfiles(const std::string& device, std::vector<std::string>& profiles) {
  TSdBusCall call(*sd_);
  const int result =
      sd_->GetProperty(bus_, Service, device.c_str(), DeviceInterface, "Profiles", &call.Error, &call.Reply, "ao");
  if (result < 0 || sd_->EnterContainer(call.Reply, 'a', "o") < 0)
    return Worded("MColordListsNoProfiles", {{"%r", ErrorText(call, result)}});
  const char* path = nullptr;
  while (sd_->Read(call.Reply, "o", &path) > 0) profiles.emplace_back(path);
  return "";
}

std::string TColordDevices::ProfileIdOf(const std::string& profile) {
  sd_bus_error error = SD_BUS_ERROR_NULL;
  char* id = nullptr;
  std::string kept;
  if (sd_->GetPropertyString(bus_, Service, profile.c_str(), ProfileInterface, "ProfileId", &error, &id) >= 0)
    kept = id;
  free(id);
  sd_->ErrorFree(&error);
  return kept;
}

std::string TColordDevices::RegisterProfile(const std::string& path, const std::string& id, std::string& profile) {
  // colord runs as a user of its own, which may not read the user's files: it
  // gets the open file along with the name.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return path + ": " + std::strerror(errno);
  TSdBusCall call(*sd_);
  const int result = sd_->CallMethod(bus_, Service, ManagerPath, ManagerInterface, "CreateProfileWithFd", &call.Error,
                                     &call.Reply, "ssha{ss}", id.c_str(), "disk", fd, 1, "Filename", path.c_str());
  close(fd);
  if (result >= 0) {
    profile = ReadPath(*sd_, call);
    return "";
  }
  if (!NameEndsWith(call, ".AlreadyExists"))
    return Worded("MColordDidNotTakeProfile", {{"%r", ErrorText(call, result)}});
  TSdBusCall found(*sd_);
  const int again = sd_->CallMethod(bus_, Service, ManagerPath, ManagerInterface, "FindProfileById", &found.Error,
                                    &found.Reply, "s", id.c_str());
  if (again < 0) return Worded("MColordDidNotFindProfile", {{"%r", ErrorText(found, again)}});
  profile = ReadPath(*sd_, found);
  return "";
}

std::string TColordDevices::RemoveOwnProfilesBut(const std::string& device, const std::string& kept) {
  std::vector<std::string> profiles;
  std::string problem = DeviceProfiles(device, profiles);
  for (const std::string& profile : profiles) {
    if (profile == kept || !ProfileIdOf(profile).starts_with(OwnIdPrefix)) continue;
    TSdBusCall call(*sd_);
    const int result = sd_->CallMethod(bus_, Service, device.c_str(), DeviceInterface, "RemoveProfile", &call.Error,
                                       &call.Reply, "o", profile.c_str());
    if (result < 0) problem = Worded("MColordDidNotRemoveProfile", {{"%r", ErrorText(call, result)}});
  }
  return problem;
}

std::string TColordDevices::MakeDefault(const std::string& connector, const std::string& path,
                                        const std::string& bytes) {
  std::string device, profile;
  std::string problem = FindDevice(connector, device);
  if (problem.empty()) problem = RegisterProfile(path, ColordProfileId(bytes), profile);
  if (!problem.empty()) return problem;
  TSdBusCall added(*sd_);
  int result = sd_->CallMethod(bus_, Service, device.c_str(), DeviceInterface, "AddProfile", &added.Error,
                               &added.Reply, "so", "hard", profile.c_str());
  if (result < 0 && !NameEndsWith(added, "AlreadyExists") && !NameEndsWith(added, "ProfileAlreadyAdded"))
    return Worded("MColordDidNotAddProfile", {{"%s", connector}, {"%r", ErrorText(added, result)}});
  TSdBusCall made(*sd_);
  result = sd_->CallMethod(bus_, Service, device.c_str(), DeviceInterface, "MakeProfileDefault", &made.Error,
                           &made.Reply, "o", profile.c_str());
  if (result < 0)
    return Worded("MColordDidNotMakeDefault", {{"%s", connector}, {"%r", ErrorText(made, result)}});
  return RemoveOwnProfilesBut(device, profile);
}

std::string TColordDevices::EnsureDefault(const std::string& connector, const std::string& path,
                                          const std::string& bytes) {
  std::string device;
  std::vector<std::string> profiles;
  std::string problem = FindDevice(connector, device);
  if (problem.empty()) problem = DeviceProfiles(device, profiles);
  if (!problem.empty()) return problem;
  if (!profiles.empty() && ProfileIdOf(profiles.front()) == ColordProfileId(bytes)) return "";
  return MakeDefault(connector, path, bytes);
}

std::string TColordDevices::RemoveOwnProfiles(const std::string& connector) {
  if (bus_ == nullptr) return NoColordReason();
  // A monitor that colord does not know holds none of them.
  TSdBusCall call(*sd_);
  if (sd_->CallMethod(bus_, Service, ManagerPath, ManagerInterface, "FindDeviceByProperty", &call.Error, &call.Reply,
                      "ss", OutputProperty, connector.c_str()) < 0)
    return NameEndsWith(call, ".NotFound")
               ? ""
               : Worded("MColordKnowsNoDevice", {{"%s", connector}, {"%r", ErrorText(call, -EIO)}});
  return RemoveOwnProfilesBut(ReadPath(*sd_, call), "");
}

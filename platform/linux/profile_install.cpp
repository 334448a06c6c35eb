#include "platform/linux/profile_install.h"

#include <fcntl.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "ramp/atomic_file.h"
#include "shell/data_folders.h"
#include "shell/shell_port.h"

namespace {

constexpr char ColordService[] = "org.freedesktop.ColorManager";
constexpr char ColordPath[] = "/org/freedesktop/ColorManager";
constexpr char ColordManager[] = "org.freedesktop.ColorManager";
constexpr char ColordDevice[] = "org.freedesktop.ColorManager.Device";
// The property under which the desktops register an X output with colord.
constexpr char OutputProperty[] = "XRANDR_name";

struct TBusCloser {
  void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
using TBus = std::unique_ptr<sd_bus, TBusCloser>;

// One method call's error, kept past the call.
struct TCallError {
  std::string Name, Message;
  bool NameEndsWith(const char* tail) const {
    return Name.size() >= std::strlen(tail) && Name.ends_with(tail);
  }
  std::string Text() const { return Message.empty() ? Name : Message; }
};

// Calls `method` on colord; a reply's object path goes into `result`. False
// with `error` set when the call fails.
template <class... Args>
bool CallForPath(sd_bus* bus, const char* path, const char* interface, const char* method,
                 std::string& result, TCallError& error, const char* types, Args... args) {
  sd_bus_error failure = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  int done = sd_bus_call_method(bus, ColordService, path, interface, method, &failure, &reply,
                                types, args...);
  const char* object = nullptr;
  if (done >= 0 && sd_bus_message_has_signature(reply, "o")) {
    done = sd_bus_message_read(reply, "o", &object);
    if (done > 0) result = object;
  }
  if (done < 0) {
    error.Name = failure.name != nullptr ? failure.name : "";
    error.Message = failure.message != nullptr ? failure.message : std::strerror(-done);
  }
  sd_bus_error_free(&failure);
  sd_bus_message_unref(reply);
  return done >= 0;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Places the profile in $XDG_DATA_HOME/icc/; empty when it cannot.
std::string CopyToIccFolder(const std::string& path, const std::string& bytes, std::ostream& report) {
  const std::string dataHome = ShellPort::SpecialFolderPath(ShellPort::TSpecialFolder::UserAppData);
  const std::string folder = dataHome + "/icc/";
  const std::string target = folder + path.substr(FolderOf(path).size());
  if (dataHome.empty() || !ForceFolder(folder)) {
    report << "Could not create the ICC folder " << folder << ".\n";
    return "";
  }
  if (target != path) {
    try {
      WriteFileAtomically(target, bytes);
    } catch (const std::exception& error) {
      report << error.what() << ".\n";
      return "";
    }
  }
  report << "Placed the profile in " << target << ".\n";
  return target;
}

// Registers the profile file with colord; its object path, or empty.
std::string CreateColordProfile(sd_bus* bus, const std::string& path, const std::string& id,
                                TCallError& error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error.Message = path + ": " + std::strerror(errno);
    return "";
  }
  std::string profile;
  // colord runs as its own user and may not read the user's files: it gets
  // the open file along with the name.
  const bool created = CallForPath(bus, ColordPath, ColordManager, "CreateProfileWithFd", profile, error,
                                   "ssha{ss}", id.c_str(), "disk", fd, 1, "Filename", path.c_str());
  close(fd);
  if (created || !error.NameEndsWith(".AlreadyExists")) return profile;
  CallForPath(bus, ColordPath, ColordManager, "FindProfileById", profile, error, "s", id.c_str());
  return profile;
}

bool TellColord(const std::string& path, const std::string& id, const std::string& output,
                std::ostream& report) {
  sd_bus* opened = nullptr;
  if (sd_bus_open_system(&opened) < 0) {
    report << "The system bus cannot be reached, so colord was not asked to use the profile.\n";
    return true;
  }
  TBus bus(opened);
  TCallError error;
  std::string device;
  if (!CallForPath(bus.get(), ColordPath, ColordManager, "FindDeviceByProperty", device, error, "ss",
                   OutputProperty, output.c_str())) {
    if (error.NameEndsWith(".ServiceUnknown") || error.NameEndsWith(".NameHasNoOwner")) {
      report << "colord is not running; choose the profile in the desktop's colour settings.\n";
      return true;
    }
    report << "colord knows no device for output " << output << ": " << error.Text() << "\n";
    return false;
  }
  const std::string profile = CreateColordProfile(bus.get(), path, id, error);
  if (profile.empty()) {
    report << "colord did not take the profile: " << error.Text() << "\n";
    return false;
  }
  std::string none;
  if (!CallForPath(bus.get(), device.c_str(), ColordDevice, "AddProfile", none, error, "so", "hard",
                   profile.c_str()) &&
      !error.NameEndsWith("AlreadyExists") && !error.NameEndsWith("ProfileAlreadyAdded")) {
    report << "colord did not add the profile to output " << output << ": " << error.Text() << "\n";
    return false;
  }
  if (!CallForPath(bus.get(), device.c_str(), ColordDevice, "MakeProfileDefault", none, error, "o",
                   profile.c_str())) {
    report << "colord did not make the profile the default of output " << output << ": "
           << error.Text() << "\n";
    return false;
  }
  report << "colord made it the default profile of output " << output << ".\n";
  return true;
}

}  // namespace

bool TLinuxProfileInstaller::Install(const std::string& path, const TDisplay& display,
                                     std::ostream& report) {
  const std::string bytes = ReadAll(path);
  const std::string placed = CopyToIccFolder(path, bytes, report);
  if (placed.empty()) return false;
  return TellColord(placed, ColordProfileId(bytes), display.MonitorInfo.DeviceName, report);
}

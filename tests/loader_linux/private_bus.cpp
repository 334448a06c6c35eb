#include "tests/loader_linux/private_bus.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <systemd/sd-bus.h>

#include "tests/loader_linux/loader_folder.h"

namespace {

constexpr char DaemonProgram[] = "/usr/bin/dbus-daemon";
constexpr char LogindService[] = "org.freedesktop.login1";
constexpr char LogindPath[] = "/org/freedesktop/login1";
constexpr char LogindManager[] = "org.freedesktop.login1.Manager";
constexpr char BusService[] = "org.freedesktop.DBus";
constexpr char BusPath[] = "/org/freedesktop/DBus";
constexpr double StartSeconds = 10;

sd_bus* Connect(const std::string& address) {
  sd_bus* bus = nullptr;
  if (sd_bus_new(&bus) < 0) return nullptr;
  if (sd_bus_set_address(bus, address.c_str()) < 0 || sd_bus_set_bus_client(bus, 1) < 0 ||
      sd_bus_start(bus) < 0) {
    sd_bus_unref(bus);
    return nullptr;
  }
  return bus;
}

void Emit(sd_bus* bus, bool goingToSleep) {
  sd_bus_emit_signal(bus, LogindPath, LogindManager, "PrepareForSleep", "b", goingToSleep ? 1 : 0);
  sd_bus_flush(bus);
}

// A reply from the daemon means it has handled everything sent before.
void RoundTrip(sd_bus* bus) {
  sd_bus_message* reply = nullptr;
  sd_bus_call_method(bus, BusService, BusPath, BusService, "GetId", nullptr, &reply, "");
  sd_bus_message_unref(reply);
}

}  // namespace

PrivateBus::PrivateBus() {
  std::string addressOption = "--address=" + Address();
  char* argv[] = {const_cast<char*>(DaemonProgram), const_cast<char*>("--session"),
                  const_cast<char*>("--nofork"), const_cast<char*>("--nopidfile"),
                  addressOption.data(), nullptr};
  char* envp[] = {const_cast<char*>("PATH=/usr/bin:/bin"), nullptr};
  // Its complaints (it may not raise its descriptor limit) go to a file.
  posix_spawn_file_actions_t output;
  posix_spawn_file_actions_init(&output);
  posix_spawn_file_actions_addopen(&output, STDERR_FILENO, folder_.File("daemon.log").c_str(),
                                   O_WRONLY | O_CREAT | O_APPEND, 0600);
  int spawned = posix_spawn(&daemon_, DaemonProgram, &output, nullptr, argv, envp);
  posix_spawn_file_actions_destroy(&output);
  if (spawned != 0) {
    daemon_ = -1;
    return;
  }
  WaitUntil(StartSeconds, [this] {
    if (logind_ == nullptr) logind_ = Connect(Address());
    return logind_ != nullptr;
  });
  if (logind_ == nullptr || sd_bus_request_name(logind_, LogindService, 0) < 0) {
    Stop();
    return;
  }
  stranger_ = Connect(Address());
}

PrivateBus::~PrivateBus() { Stop(); }

void PrivateBus::Stop() {
  if (logind_ != nullptr) sd_bus_close_unref(logind_);
  if (stranger_ != nullptr) sd_bus_close_unref(stranger_);
  logind_ = stranger_ = nullptr;
  if (daemon_ > 0) {
    kill(daemon_, SIGTERM);
    waitpid(daemon_, nullptr, 0);
    daemon_ = -1;
  }
}

bool PrivateBus::FindLoaderConnection(pid_t loader, std::string& name) {
  sd_bus_message* reply = nullptr;
  if (sd_bus_call_method(logind_, BusService, BusPath, BusService, "ListNames", nullptr, &reply, "") < 0) {
    return false;
  }
  bool found = false;
  char** names = nullptr;
  if (sd_bus_message_read_strv(reply, &names) >= 0 && names != nullptr) {
    for (char** each = names; *each != nullptr; ++each) {
      sd_bus_message* pidReply = nullptr;
      uint32_t pid = 0;
      if (!found && (*each)[0] == ':' &&
          sd_bus_call_method(logind_, BusService, BusPath, BusService, "GetConnectionUnixProcessID",
                             nullptr, &pidReply, "s", *each) >= 0 &&
          sd_bus_message_read(pidReply, "u", &pid) >= 0 && static_cast<pid_t>(pid) == loader) {
        name = *each;
        found = true;
      }
      sd_bus_message_unref(pidReply);
      free(*each);
    }
    free(names);
  }
  sd_bus_message_unref(reply);
  return found;
}

bool PrivateBus::WaitForLoader(pid_t loader, double seconds) {
  if (!IsUp()) return false;
  // The loader asks for its signal before anything else it sends after
  // greeting the bus, so once it has answered a ping, its watch is in place.
  return WaitUntil(seconds, [&] {
    std::string name;
    if (!FindLoaderConnection(loader, name)) return false;
    sd_bus_message* reply = nullptr;
    int result = sd_bus_call_method(logind_, name.c_str(), "/", "org.freedesktop.DBus.Peer", "Ping",
                                    nullptr, &reply, "");
    sd_bus_message_unref(reply);
    return result >= 0;
  });
}

void PrivateBus::EmitPrepareForSleep(bool goingToSleep) {
  if (logind_ != nullptr) Emit(logind_, goingToSleep);
}

void PrivateBus::ForgePrepareForSleep(bool goingToSleep) {
  if (stranger_ == nullptr) return;
  Emit(stranger_, goingToSleep);
  RoundTrip(stranger_);
}

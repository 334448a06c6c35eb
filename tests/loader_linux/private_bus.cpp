#include "tests/loader_linux/private_bus.h"

#include <fcntl.h>
#include <poll.h>
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
constexpr char LogindSession[] = "org.freedesktop.login1.Session";
constexpr double StartSeconds = 10;
constexpr int ServeWaitMs = 20;

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

void EmitProperty(sd_bus* bus, const char* name, bool value) {
  sd_bus_message* signal = nullptr;
  if (sd_bus_message_new_signal(bus, &signal, StandInSessionPath, "org.freedesktop.DBus.Properties",
                                "PropertiesChanged") < 0) {
    return;
  }
  sd_bus_message_append(signal, "sa{sv}as", LogindSession, 2, "IdleHint", "b", 0, name, "b", value ? 1 : 0, 0);
  sd_bus_send(bus, signal, nullptr);
  sd_bus_message_unref(signal);
  sd_bus_flush(bus);
}

void Emit(sd_bus* bus, bool goingToSleep) {
  sd_bus_emit_signal(bus, LogindPath, LogindManager, "PrepareForSleep", "b", goingToSleep ? 1 : 0);
  sd_bus_flush(bus);
}

// A reply from the daemon means it has handled everything sent before.
int ServeLogind(sd_bus_message* call, void* bus, sd_bus_error*) {
  return static_cast<PrivateBus*>(bus)->AnswerLogindCall(call);
}

void RoundTrip(sd_bus* bus) {
  sd_bus_message* reply = nullptr;
  sd_bus_call_method(bus, BusService, BusPath, BusService, "GetId", nullptr, &reply, "");
  sd_bus_message_unref(reply);
}

}  // namespace

PrivateBus::PrivateBus() { Start(); }

PrivateBus::~PrivateBus() { Stop(); }

void PrivateBus::Start() {
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
  if (logind_ == nullptr || sd_bus_request_name(logind_, LogindService, 0) < 0 ||
      sd_bus_add_object(logind_, &logindObject_, LogindPath, ServeLogind, this) < 0) {
    Stop();
    return;
  }
  stranger_ = Connect(Address());
  serving_ = true;
  server_ = std::thread([this] { Serve(); });
}

void PrivateBus::Stop() {
  serving_ = false;
  if (server_.joinable()) server_.join();
  logindObject_ = sd_bus_slot_unref(logindObject_);
  if (logind_ != nullptr) sd_bus_close_unref(logind_);
  if (stranger_ != nullptr) sd_bus_close_unref(stranger_);
  logind_ = stranger_ = nullptr;
  sessionsTold_.clear();
  if (daemon_ > 0) {
    kill(daemon_, SIGTERM);
    waitpid(daemon_, nullptr, 0);
    daemon_ = -1;
  }
}

int PrivateBus::AnswerLogindCall(sd_bus_message* call) {
  if (!sd_bus_message_is_method_call(call, LogindManager, "GetSession")) return 0;
  sessionsTold_.insert(sd_bus_message_get_sender(call));
  return sd_bus_reply_method_return(call, "o", StandInSessionPath);
}

// Answers method calls while the test goes on; sd-bus needs one thread at
// a time, hence the lock around everything done with the connections.
void PrivateBus::Serve() {
  int descriptor = sd_bus_get_fd(logind_);
  while (serving_) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      while (sd_bus_process(logind_, nullptr) > 0) {
      }
    }
    pollfd incoming = {descriptor, POLLIN, 0};
    poll(&incoming, 1, ServeWaitMs);
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
  // The loader asks for its resume signal before anything else it sends
  // after greeting the bus, and for its session's signals as soon as it
  // hears which session is its own. Messages between two connections keep
  // their order, so once it has answered a ping sent after that answer,
  // both watches are in place.
  return WaitUntil(seconds, [&] {
    std::lock_guard<std::mutex> hold(lock_);
    std::string name;
    if (!FindLoaderConnection(loader, name) || sessionsTold_.count(name) == 0) return false;
    sd_bus_message* reply = nullptr;
    int result = sd_bus_call_method(logind_, name.c_str(), "/", "org.freedesktop.DBus.Peer", "Ping",
                                    nullptr, &reply, "");
    sd_bus_message_unref(reply);
    return result >= 0;
  });
}

void PrivateBus::EmitPrepareForSleep(bool goingToSleep) {
  std::lock_guard<std::mutex> hold(lock_);
  if (logind_ != nullptr) Emit(logind_, goingToSleep);
}

void PrivateBus::ForgePrepareForSleep(bool goingToSleep) {
  std::lock_guard<std::mutex> hold(lock_);
  if (stranger_ == nullptr) return;
  Emit(stranger_, goingToSleep);
  RoundTrip(stranger_);
}

void PrivateBus::EmitSessionProperty(const char* name, bool value) {
  std::lock_guard<std::mutex> hold(lock_);
  if (logind_ != nullptr) EmitProperty(logind_, name, value);
}

void PrivateBus::ForgeSessionProperty(const char* name, bool value) {
  std::lock_guard<std::mutex> hold(lock_);
  if (stranger_ == nullptr) return;
  EmitProperty(stranger_, name, value);
  RoundTrip(stranger_);
}

void PrivateBus::EmitUnlock() {
  std::lock_guard<std::mutex> hold(lock_);
  if (logind_ == nullptr) return;
  sd_bus_emit_signal(logind_, StandInSessionPath, LogindSession, "Unlock", "");
  sd_bus_flush(logind_);
}

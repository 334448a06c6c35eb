// A private D-Bus daemon standing in for the system bus, with one connection
// that owns logind's name, answers GetSession with one session's path and
// emits what logind emits around a suspend and when that session comes back
// to the user, and one connection that owns nothing and forges the same.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "tests/temp_folder.h"

struct sd_bus;
struct sd_bus_message;
struct sd_bus_slot;

// The object path of the stand-in's one session.
constexpr char StandInSessionPath[] = "/org/freedesktop/login1/session/_31";

class PrivateBus {
 public:
  PrivateBus();
  ~PrivateBus();
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  bool IsUp() const { return logind_ != nullptr && stranger_ != nullptr; }
  // For DBUS_SYSTEM_BUS_ADDRESS.
  std::string Address() const { return "unix:path=" + folder_.File("bus"); }

  // True once the loader with this pid is on the bus with its resume and
  // session watches in place.
  bool WaitForLoader(pid_t loader, double seconds);

  void EmitPrepareForSleep(bool goingToSleep);
  // The same signal from a connection that does not own logind's name; returns
  // once the daemon has dealt with it.
  void ForgePrepareForSleep(bool goingToSleep);

  // PropertiesChanged of the session's Active or LockedHint, and its Unlock.
  void EmitSessionProperty(const char* name, bool value);
  void ForgeSessionProperty(const char* name, bool value);
  void EmitUnlock();

  // Ends the daemon, as when the system bus goes away under the loader.
  void Stop();
  // A new daemon at the same address, as after a restart of the system bus.
  void Start();

  // What the stand-in logind does with a method call (from the bus's callback).
  int AnswerLogindCall(sd_bus_message* call);

 private:
  bool FindLoaderConnection(pid_t loader, std::string& name);
  void Serve();

  TempFolder folder_;
  pid_t daemon_ = -1;
  std::mutex lock_;  // the connections are used by the test and by the serving thread
  sd_bus* logind_ = nullptr;
  sd_bus* stranger_ = nullptr;
  sd_bus_slot* logindObject_ = nullptr;
  std::set<std::string> sessionsTold_;  // connections that have had GetSession's answer
  std::atomic<bool> serving_{false};
  std::thread server_;
};

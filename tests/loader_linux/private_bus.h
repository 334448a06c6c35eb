// A private D-Bus daemon standing in for the system bus, with one connection
// that owns logind's name and emits what logind emits around a suspend, and
// one that owns nothing and forges the same signal.
#pragma once

#include <sys/types.h>

#include <string>

#include "tests/temp_folder.h"

struct sd_bus;

class PrivateBus {
 public:
  PrivateBus();
  ~PrivateBus();
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  bool IsUp() const { return logind_ != nullptr && stranger_ != nullptr; }
  // For DBUS_SYSTEM_BUS_ADDRESS.
  std::string Address() const { return "unix:path=" + folder_.File("bus"); }

  // True once the loader with this pid is on the bus with its watch in place.
  bool WaitForLoader(pid_t loader, double seconds);

  void EmitPrepareForSleep(bool goingToSleep);
  // The same signal from a connection that does not own logind's name; returns
  // once the daemon has dealt with it.
  void ForgePrepareForSleep(bool goingToSleep);

  // Ends the daemon, as when the system bus goes away under the loader.
  void Stop();

 private:
  bool FindLoaderConnection(pid_t loader, std::string& name);

  TempFolder folder_;
  pid_t daemon_ = -1;
  sd_bus* logind_ = nullptr;
  sd_bus* stranger_ = nullptr;
};

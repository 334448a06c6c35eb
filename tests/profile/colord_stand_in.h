// A stand-in colord that records every call it receives: on a private D-Bus
// daemon of its own standing in for the system bus, or on a bus that another
// stand-in runs (GNOME's session and system bus in one). It keeps one display
// device per output (XRANDR_name), each with its list of profiles, the first
// being the default, and the profiles created from passed files.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/temp_folder.h"

struct sd_bus;
struct sd_bus_slot;

class ColordStandIn {
 public:
  // The first device's and the first profile's paths.
  static constexpr char DevicePath[] = "/org/freedesktop/ColorManager/devices/xrandr_1";
  static constexpr char ProfilePath[] = "/org/freedesktop/ColorManager/profiles/icc_1";

  // On a bus of its own; without an output the bus runs with no colord on it.
  explicit ColordStandIn(const std::string& output);
  // On the bus at `address`, one device per output.
  ColordStandIn(const std::string& address, const std::vector<std::string>& outputs);
  ~ColordStandIn();
  ColordStandIn(const ColordStandIn&) = delete;
  ColordStandIn& operator=(const ColordStandIn&) = delete;

  bool IsUp() const { return bus_ != nullptr || (daemon_ > 0 && outputs_.empty()); }
  // For DBUS_SYSTEM_BUS_ADDRESS.
  std::string Address() const { return address_; }

  // One line per call: the method and its arguments, the passed file as the
  // bytes read from it.
  std::vector<std::string> Calls();
  std::string PassedBytes();
  // Called, under the stand-in's lock, whenever an output's default profile
  // changes, with its bytes (empty: the output has none now).
  std::function<void(size_t output, const std::string& bytes)> DefaultChanged;

  // For the bus callbacks.
  struct TProfile {
    ColordStandIn* Self = nullptr;
    std::string Id, Filename, Path, Bytes;
    sd_bus_slot* Slot = nullptr;
  };
  struct TDevice {
    ColordStandIn* Self = nullptr;
    size_t Output = 0;
    std::string Path;
    std::vector<TProfile*> Profiles;
  };
  int Answer(const std::string& method, void* call, void* error, TDevice* device);
  int ListProfiles(void* reply, TDevice* device);

 private:
  void Start(sd_bus* bus);
  void Serve();
  TProfile* ProfileAt(const std::string& path);
  void TellDefault(TDevice& device);

  TempFolder folder_;
  std::string address_;
  std::vector<std::string> outputs_;
  pid_t daemon_ = -1;
  sd_bus* bus_ = nullptr;
  std::thread server_;
  std::atomic<bool> stop_{false};
  std::recursive_mutex mutex_;
  std::vector<std::string> calls_;
  std::string bytes_;
  std::vector<TDevice*> devices_;
  std::vector<TProfile*> profiles_;
};

// A private D-Bus daemon standing in for the system bus, and on it a stand-in
// colord that knows one display device and records every call it receives.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/temp_folder.h"

struct sd_bus;

class ColordStandIn {
 public:
  static constexpr char DevicePath[] = "/org/freedesktop/ColorManager/devices/xrandr_1";
  static constexpr char ProfilePath[] = "/org/freedesktop/ColorManager/profiles/icc_1";

  // Without an output the bus runs with no colord on it.
  explicit ColordStandIn(const std::string& output);
  ~ColordStandIn();
  ColordStandIn(const ColordStandIn&) = delete;
  ColordStandIn& operator=(const ColordStandIn&) = delete;

  bool IsUp() const { return bus_ != nullptr || (daemon_ > 0 && output_.empty()); }
  // For DBUS_SYSTEM_BUS_ADDRESS.
  std::string Address() const { return "unix:path=" + folder_.File("bus"); }

  // One line per call: the method and its arguments, the passed file as the
  // bytes read from it.
  std::vector<std::string> Calls();
  std::string PassedBytes();

  void Record(const std::string& call);
  const std::string& Output() const { return output_; }
  void KeepBytes(std::string bytes);

 private:
  void Serve();

  TempFolder folder_;
  std::string output_;
  pid_t daemon_ = -1;
  sd_bus* bus_ = nullptr;
  std::thread server_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> calls_;
  std::string bytes_;
};

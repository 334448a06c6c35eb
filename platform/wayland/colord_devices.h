// Display profiles in colord, on the system bus, where GNOME's Mutter finds
// each monitor's calibration: Mutter registers one colord device per monitor,
// with the monitor's connector as its XRANDR_name, and applies the 'vcgt' of
// the device's default profile, which is the first of its Profiles.
#pragma once

#include <string>
#include <vector>

struct sd_bus;
struct TSdBusLibrary;

// colord's id for a profile: "icc-tonemark-" and a hash of its bytes, so that a
// changed profile is a new one to colord and Tonemark's own are told apart.
std::string ColordProfileId(const std::string& bytes);

class TColordDevices {
 public:
  TColordDevices();
  ~TColordDevices();
  TColordDevices(const TColordDevices&) = delete;
  TColordDevices& operator=(const TColordDevices&) = delete;

  // Whether colord runs (or can be started) on the system bus.
  bool Answers();

  // Each returns what went wrong, empty when nothing did.
  // The profile file at `path` (absolute, holding `bytes`) becomes the
  // default profile of the connector's device; Tonemark's earlier profiles
  // are taken off it.
  std::string MakeDefault(const std::string& connector, const std::string& path, const std::string& bytes);
  // As MakeDefault, doing nothing when it is the default already.
  std::string EnsureDefault(const std::string& connector, const std::string& path, const std::string& bytes);
  // Takes every profile of Tonemark's off the connector's device.
  std::string RemoveOwnProfiles(const std::string& connector);

 private:
  std::string FindDevice(const std::string& connector, std::string& device);
  std::string DeviceProfiles(const std::string& device, std::vector<std::string>& profiles);
  std::string ProfileIdOf(const std::string& profile);
  std::string RegisterProfile(const std::string& path, const std::string& id, std::string& profile);
  // Takes Tonemark's profiles but `kept` off the device.
  std::string RemoveOwnProfilesBut(const std::string& device, const std::string& kept);

  const TSdBusLibrary* sd_ = nullptr;
  sd_bus* bus_ = nullptr;
};

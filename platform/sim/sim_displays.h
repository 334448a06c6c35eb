// Simulated displays: a folder (TONEMARK_SIM) describes the monitors in
// displays.ini and holds each one's present ramp in ramp<n>.txt; every ramp
// read, load and wait is appended to log.txt. Tests, demos and benchmarks
// drive Tonemark through it on any system.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_config.h"
#include "ramp/displays_port.h"

inline const char* const SimFolderVariable = "TONEMARK_SIM";
inline const char* const SimRealtimeVariable = "TONEMARK_SIM_REALTIME";
// Why a monitor with Fail=live takes no ramp.
inline const char* const SimNoLiveRampReason = "this display takes no live gamma ramp";

class TSimDisplays : public TDisplaysPort {
 public:
  // Waits are only logged unless `realtime`.
  TSimDisplays(std::filesystem::path folder, bool realtime);

  void EnumMonitors(const std::function<bool(TMonitorHandle)>& addMonitor) override;
  bool QueryMonitorInfo(TMonitorHandle monitor, TMonitorInfo& info) override;
  std::string LastErrorMessage() override;
  int32_t MonitorDpi(TMonitorHandle monitor) override;
  bool QueryDisplayDevice(const std::string& deviceName, TDisplayDevice& device) override;
  TDisplayHandle CreateDisplayHandle(TMonitorHandle monitor,
                                     const std::string& deviceName) override;
  void ReleaseDisplayHandle(TDisplayHandle display) override;
  bool GetRamp(TDisplayHandle display, TGammaRamp& ramp) override;
  bool SetRamp(TDisplayHandle display, const TGammaRamp& ramp) override;
  std::string RampRefusal(TDisplayHandle display) override;
  void Wait(int32_t milliseconds) override;
  std::optional<std::vector<uint8_t>> ReadEdidOfModel(const std::string& modelCode) override;
  bool MonitorFacts(TMonitorHandle monitor, const std::string& deviceName, TMonitorFacts& facts) override;
  std::string BackendName() override { return "sim"; }
  // "sim:<n>", n the number of its [Monitor<n>].
  std::string DeviceAddress(TMonitorHandle monitor, const std::string&) override {
    const TSimMonitor* simulated = MonitorOf(monitor);
    return "sim:" + std::to_string(simulated != nullptr ? simulated->Number : 0);
  }

 private:
  const TSimMonitor* MonitorOf(void* handle) const;
  std::filesystem::path RampFile(const TSimMonitor& monitor) const;
  void Log(const std::string& line) const;

  std::filesystem::path folder_;
  bool realtime_;
  std::vector<TSimMonitor> monitors_;
};

// True when TONEMARK_SIM names a folder. Its runs show their messages on
// standard error, where they never block.
bool SimulatedDisplaysRequested();
// The simulated displays of the folder in TONEMARK_SIM, or null when it is
// not set.
std::unique_ptr<TSimDisplays> SimDisplaysFromEnvironment();

// What the Wayland back-ends share: the monitors are the compositor's outputs,
// named by connector ("DP-1"), each one's EDID read from the kernel's DRM
// connector, since no Wayland interface hands it out. Each back-end lists the
// outputs its own way and reaches (or cannot reach) their ramps.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/profile_files.h"
#include "ramp/displays_port.h"
#include "shell/calibration_keeper.h"

struct TWaylandOutput {
  std::string Name;         // the connector, also the device name
  TRect Rect;               // in the desktop's coordinates
  bool Primary = false;
  std::string Description;  // what the compositor calls the monitor, for when there is no EDID
  std::vector<uint8_t> Edid;
  std::string Vendor, Product, Serial;  // where the desktop names them (GNOME)
};

// The EDID of the connector as the kernel has it
// (`<drmFolder>/card*-<connector>/edid`); empty when it has none.
std::vector<uint8_t> DrmConnectorEdid(const std::string& drmFolder, const std::string& connector);

class TOutputDisplays : public TDisplaysPort {
 public:
  // `label` names the back-end in the README's terms, for every problem
  // reported.
  TOutputDisplays(std::string label, std::string drmFolder);

  const std::string& Label() const { return label_; }

  // What a run needs of the desktop besides the port (display_backends.h).
  // Ramps loaded from now on are to outlast this process (load mode, the
  // guardian).
  virtual void KeepRampsAfterExit() {}
  // True when the desktop itself gives each display its ramp back once this
  // process ends, so that no guardian is needed.
  virtual bool GivesRampsBackAtExit() { return false; }
  // Who keeps the calibration after OK, writing profiles with `makeProfile`.
  // Each back-end makes its keeper beside the keeper's own code
  // (<name>_keeper.cpp).
  virtual std::unique_ptr<TCalibrationKeeper> CalibrationKeeper(const TProfileMaker& makeProfile) = 0;

  void EnumMonitors(const std::function<bool(TMonitorHandle)>& addMonitor) override;
  bool MonitorsUnknown() override { return monitorsUnknown_; }
  std::string DiscoveryProblem() override { return discoveryProblem_.Text(); }
  bool QueryMonitorInfo(TMonitorHandle monitor, TMonitorInfo& info) override;
  std::string LastErrorMessage() override;
  int32_t MonitorDpi(TMonitorHandle monitor) override;
  bool QueryDisplayDevice(const std::string& deviceName, TDisplayDevice& device) override;
  TDisplayHandle CreateDisplayHandle(TMonitorHandle monitor, const std::string& deviceName) override;
  void ReleaseDisplayHandle(TDisplayHandle display) override;
  void Wait(int32_t milliseconds) override;
  std::optional<std::vector<uint8_t>> ReadEdidOfModel(const std::string& modelCode) override;
  bool MonitorFacts(TMonitorHandle monitor, const std::string& deviceName, TMonitorFacts& facts) override;

 protected:
  // Fills Outputs in the compositor's order; the reason when it cannot.
  // Discovery runs before the language is loaded: the reason stays a key.
  virtual TKeyedText ReadOutputs() = 0;
  // ReadOutputs for a back-end that has only the compositor's wl_outputs:
  // EDIDs from the DRM folder, the first output primary.
  TKeyedText ReadCompositorOutputs();
  // The output behind a monitor or display handle, or null.
  TWaylandOutput* OutputOf(void* handle);
  static void* HandleOf(size_t index) { return reinterpret_cast<void*>(static_cast<uintptr_t>(index + 1)); }
  static size_t IndexOf(void* handle) { return reinterpret_cast<uintptr_t>(handle) - 1; }

  std::vector<TWaylandOutput> Outputs;
  const std::string DrmFolder;

 private:
  std::string label_;
  std::string lastError_;
  TKeyedText discoveryProblem_;
  bool monitorsUnknown_ = false;
};

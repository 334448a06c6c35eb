// What the model needs from the operating system to find displays and reach
// their video cards. Each backend under platform/ (the simulated displays,
// X11 RandR, Windows GDI) answers the same questions; main() picks one and
// hands it over before anything else runs.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ramp/monitor_identity.h"
#include "ramp/records.h"

// Method names steer clear of the macros that <windows.h> defines
// (GetMonitorInfo), so the Windows backend can include both.
class TDisplaysPort {
 public:
  virtual ~TDisplaysPort() = default;

  // Calls addMonitor once per monitor of the desktop, in the system's order,
  // until it asks to stop by returning false.
  virtual void EnumMonitors(const std::function<bool(TMonitorHandle)>& addMonitor) = 0;
  // True when the last EnumMonitors could not ask the system for its
  // monitors at all (it has shown why, or DiscoveryProblem says it), rather
  // than finding none.
  virtual bool MonitorsUnknown() { return false; }
  // What kept the last EnumMonitors from the system's monitors, in the
  // language loaded since; empty when nothing did. Discovery runs before the
  // language is loaded, so a port that words its problems waits for it.
  virtual std::string DiscoveryProblem() { return ""; }
  // False when the system cannot describe the monitor; LastErrorMessage()
  // then gives the system's text for it.
  virtual bool QueryMonitorInfo(TMonitorHandle monitor, TMonitorInfo& info) = 0;
  virtual std::string LastErrorMessage() = 0;
  // The monitor's pixels per inch, for scaling the window's geometry.
  virtual int32_t MonitorDpi(TMonitorHandle monitor) = 0;
  // The monitor attached to the output named deviceName; false when the
  // system knows no such output.
  virtual bool QueryDisplayDevice(const std::string& deviceName, TDisplayDevice& device) = 0;

  // The handle through which the output's ramp is read and loaded; null when
  // it cannot be created.
  virtual TDisplayHandle CreateDisplayHandle(TMonitorHandle monitor,
                                             const std::string& deviceName) = 0;
  virtual void ReleaseDisplayHandle(TDisplayHandle display) = 0;
  virtual bool GetRamp(TDisplayHandle display, TGammaRamp& ramp) = 0;
  // The system may refuse a ramp; the video card then keeps its previous one.
  virtual bool SetRamp(TDisplayHandle display, const TGammaRamp& ramp) = 0;
  // Entries per channel of the video card's own ramp, which GetRamp and
  // SetRamp resample from and to 256 when they differ.
  virtual int32_t RampSize(TDisplayHandle) { return LevelCount; }
  // Why the display takes no ramp at all (the desktop lets no program set it,
  // or the output has no ramp), for its user; empty when it does take them.
  // Such a display is left alone rather than loaded.
  virtual std::string RampRefusal(TDisplayHandle) { return ""; }
  // Why a ramp that the display refused or did not keep may have been turned
  // away, and what the user can do about it, where the system has such a
  // rule; empty otherwise.
  virtual std::string RampRefusalCause(TDisplayHandle) { return ""; }
  // Why the display may not show a ramp even though it takes and keeps it
  // (the system could not say whether it bypasses ramps), for its user;
  // empty when nothing is in doubt. Such a display is loaded all the same.
  virtual std::string RampDoubt(TDisplayHandle) { return ""; }

  virtual void Wait(int32_t milliseconds) = 0;

  // The EDID that the system keeps for a monitor model ("DEL40B5"), whole as
  // stored; nothing when no instance of that model has a readable one.
  virtual std::optional<std::vector<uint8_t>> ReadEdidOfModel(const std::string& modelCode) = 0;
  // This very monitor's EDID, or what else the system says about it, where
  // the back-end can tell two monitors of one model apart (the EDID read by
  // model code belongs to the model's first instance). False when it cannot:
  // the model's EDID and the device name then stand for the monitor.
  // The back-end's short name, for the record of shown ramps: x11, windows,
  // sim, gnome, wlr, kde or none.
  virtual std::string BackendName() { return "none"; }
  // How the back-end addresses the monitor, for the same record.
  virtual std::string DeviceAddress(TMonitorHandle /*monitor*/, const std::string& deviceName) { return deviceName; }
  virtual bool MonitorFacts(TMonitorHandle /*monitor*/, const std::string& /*deviceName*/,
                            TMonitorFacts& /*facts*/) {
    return false;
  }
};

// The backend every model operation goes through: set it before the displays
// are enumerated, and keep it alive past ReleaseDisplays. Until then it is a
// desktop without displays.
void SetDisplaysPort(TDisplaysPort& port);
TDisplaysPort& DisplaysPort();

// A private D-Bus daemon standing in for the session bus of a GNOME session,
// and on it a stand-in Mutter: DisplayConfig (GetCurrentState, GetResources,
// GetCrtcGamma, SetCrtcGamma, refusing stale serials) and, when asked for, ColorManager's
// calibration sessions, which end, giving the ramp back, when their caller
// leaves the bus. Every call is recorded.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/temp_folder.h"

struct sd_bus;
struct sd_bus_slot;

struct TStandInMonitor {
  std::string Connector;
  int GammaSize = 256;  // 0: a CRTC that takes no ramp
  std::string Vendor, Product, Serial;
  int32_t X = 0, Y = 0, Width = 1920, Height = 1080;
  // A virtual monitor, which as in Mutter only GetCurrentState lists:
  // GetResources has no CRTC and no output for it. Its GammaSize is 0.
  bool Virtual = false;
  // The tiles of one monitor (a 5K panel driven as two) share a group, 0 for
  // none: GetResources gives each tile's output the `tile` property, and
  // GetCurrentState lists the monitor once, under its first tile's connector.
  uint32_t TileGroup = 0;
};

class MutterStandIn {
 public:
  // With `colorManager` it is GNOME 49 or later. Each monitor but a virtual
  // one gets a CRTC of the same index; one more CRTC drives nothing.
  MutterStandIn(std::vector<TStandInMonitor> monitors, bool colorManager);
  ~MutterStandIn();
  MutterStandIn(const MutterStandIn&) = delete;
  MutterStandIn& operator=(const MutterStandIn&) = delete;

  bool IsUp() const { return bus_ != nullptr; }
  // For DBUS_SESSION_BUS_ADDRESS.
  std::string Address() const { return "unix:path=" + folder_.File("bus"); }

  // One line per call: "GetCurrentState", "GetResources", "GetCrtcGamma <serial> <crtc>",
  // "SetCrtcGamma <serial> <crtc> <entries>", "CalibrateMonitor <connector>",
  // "SetCrtcGammaLut <connector> <entries>", "Stop <connector>", and
  // "Ended <connector>" when a session ends with its caller gone.
  std::vector<std::string> Calls();
  void ClearCalls();
  // The CRTC's present ramp: red, green, blue, GammaSize entries each.
  std::vector<uint16_t> Lut(size_t crtc);
  void SetLut(size_t crtc, std::vector<uint16_t> entries);
  // A new configuration: calls with the old serial are refused from now on.
  void ChangeConfiguration();
  // Another monitor takes the connector's place on its CRTC: a new
  // configuration, the CRTC's ramp the identity.
  void ReplaceMonitor(size_t crtc, TStandInMonitor monitor);
  // The same, right after the next GetCurrentState has been answered: a
  // monitor plugged in and another unplugged between a client's two calls.
  void ReplaceMonitorAfterNextState(size_t crtc, TStandInMonitor monitor);
  // Mutter's part in keeping the calibration: the CRTC takes the 'vcgt' of
  // its monitor's new default profile (none: the identity), or takes it once
  // an open calibration session ends.
  void ApplyProfile(size_t crtc, const std::string& profileBytes);
  // From now on applied profiles are warmed as Night Light does (blue
  // scaled to 3/4); `told` also serves GNOME's colour settings, saying that
  // Night Light is active.
  void WarmLikeNightLight(bool told);
  // Waits up to `seconds` for the number of open calibration sessions.
  bool WaitForSessions(size_t count, double seconds);

  // For the bus callbacks.
  struct TSession {
    MutterStandIn* Self = nullptr;
    size_t Crtc = 0;
    std::string Owner, Path;
    std::vector<uint16_t> GivenBack;
    sd_bus_slot* Slot = nullptr;
  };
  int Answer(const std::string& method, void* call, void* error, TSession* session);
  void CallerLeft(const std::string& name);
  uint32_t SerialNow() const { return serial_; }
  const std::vector<TStandInMonitor>& Monitors() const { return monitors_; }

 private:
  void Serve();
  // A later tile of a group, which GetCurrentState does not list.
  bool IsFurtherTile(size_t crtc) const;
  void EndSession(size_t index, const char* how);

  TempFolder folder_;
  std::vector<TStandInMonitor> monitors_;
  std::vector<std::vector<uint16_t>> luts_;
  bool colorManager_;
  pid_t daemon_ = -1;
  sd_bus* bus_ = nullptr;
  std::thread server_;
  std::atomic<bool> stop_{false};
  std::recursive_mutex mutex_;
  std::vector<std::string> calls_;
  std::vector<TSession*> sessions_;
  std::vector<TSession*> sessions_ended_later_;  // ended, freed with the stand-in
  uint32_t serial_ = 1;
  unsigned sessionNumber_ = 0;
  bool warm_ = false;
  std::vector<std::pair<size_t, TStandInMonitor>> replaceAfterState_;
};

// The displays of a Windows desktop: monitors from EnumDisplayMonitors, their
// video cards' ramps through a GDI device context each, identity from
// EnumDisplayDevicesA and the registry's EDID copies.
#pragma once

#include <set>

#include "ramp/displays_port.h"

class TGdiDisplays : public TDisplaysPort {
 public:
  TGdiDisplays();

  // The GDI calls behind GetRamp and SetRamp, shaped as GetDeviceGammaRamp
  // and SetDeviceGammaRamp (device context, 768 words; nonzero on success).
  // Tests put a video card of their own behind them: Wine's display has none.
  using TGammaRampCall = int (*)(void* dc, void* ramp);
  TGammaRampCall GetGammaRamp;
  TGammaRampCall SetGammaRamp;
  // Whether the monitor on a GDI output is in HDR / advanced-colour mode,
  // asked once per display handle. Tests answer it themselves: Wine reports
  // no advanced colour.
  using TAdvancedColorQuery = bool (*)(const std::string& deviceName);
  TAdvancedColorQuery AdvancedColorEnabled;

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

 private:
  // Kept from the failed monitor query, before any later call can replace it.
  unsigned long monitorInfoError_ = 0;
  // Windows takes ramps for these and shows none: they are refused instead.
  std::set<TDisplayHandle> advancedColor_;
};

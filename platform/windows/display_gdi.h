// The displays of a Windows desktop: monitors from EnumDisplayMonitors, their
// video cards' ramps through a GDI device context each, identity from
// EnumDisplayDevicesA and the registry's EDID copies.
#pragma once

#include <map>

#include "platform/windows/display_advanced_color.h"
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
  // Whether the monitor on a GDI output is in an advanced-colour mode, asked
  // once per display handle. Tests answer it themselves: Wine cannot say.
  using TAdvancedColorQuery = TAdvancedColor (*)(const std::string& deviceName);
  TAdvancedColorQuery AdvancedColor;
  // The registry value GdiIcmGammaRange, which sets how far from the identity
  // Windows lets a ramp go; nothing when it is absent. Read at each refusal.
  using TGammaRangeQuery = std::optional<unsigned long> (*)();
  TGammaRangeQuery GammaRange;

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
  std::string RampRefusalCause(TDisplayHandle display) override;
  std::string RampDoubt(TDisplayHandle display) override;
  void Wait(int32_t milliseconds) override;
  std::optional<std::vector<uint8_t>> ReadEdidOfModel(const std::string& modelCode) override;
  // The EDID of the registry instance that is this monitor.
  bool MonitorFacts(TMonitorHandle monitor, const std::string& deviceName, TMonitorFacts& facts) override;
  std::string BackendName() override { return "windows"; }

 private:
  // Kept from the failed monitor query, before any later call can replace it.
  unsigned long monitorInfoError_ = 0;
  // Windows takes ramps for displays in an advanced-colour mode and shows
  // none: they are refused instead. Where it could not say, ramps are loaded
  // and the doubt is told.
  std::map<TDisplayHandle, TAdvancedColor> advancedColor_;
  bool TakesNoRamp(TDisplayHandle display) const;
};

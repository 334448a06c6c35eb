// A desktop without any display whose ramp can be reached: the displays port
// in force until main() sets a real one, and the answer of a build that has
// no backend for its system.
#pragma once

#include "ramp/displays_port.h"

class TNoDisplays : public TDisplaysPort {
 public:
  void EnumMonitors(const std::function<bool(TMonitorHandle)>&) override {}
  bool QueryMonitorInfo(TMonitorHandle, TMonitorInfo&) override { return false; }
  std::string LastErrorMessage() override { return "No monitor is known."; }
  int32_t MonitorDpi(TMonitorHandle) override { return 96; }
  bool QueryDisplayDevice(const std::string&, TDisplayDevice&) override { return false; }
  TDisplayHandle CreateDisplayHandle(TMonitorHandle, const std::string&) override {
    return nullptr;
  }
  void ReleaseDisplayHandle(TDisplayHandle) override {}
  bool GetRamp(TDisplayHandle, TGammaRamp&) override { return false; }
  bool SetRamp(TDisplayHandle, const TGammaRamp&) override { return false; }
  void Wait(int32_t milliseconds) override;
  std::optional<std::vector<uint8_t>> ReadEdidOfModel(const std::string&) override {
    return std::nullopt;
  }
};

// The Wayland desktops whose compositor offers no ramp interface that
// Tonemark knows: the outputs are listed, with their EDIDs, so that each is
// reported by name, and every ramp is refused with the reason.
#pragma once

#include <string>

#include "platform/wayland/output_displays.h"

inline const char* const NoneBackendLabel = "none (no ramp interface on this Wayland desktop)";

class TNoRampDisplays : public TOutputDisplays {
 public:
  explicit TNoRampDisplays(std::string drmFolder = "/sys/class/drm");

  bool GetRamp(TDisplayHandle display, TGammaRamp& ramp) override;
  bool SetRamp(TDisplayHandle display, const TGammaRamp& ramp) override;
  std::string RampRefusal(TDisplayHandle display) override;
  std::unique_ptr<TCalibrationKeeper> CalibrationKeeper(const TProfileMaker& makeProfile) override;

 protected:
  // For a desktop that refuses ramps for a reason of its own.
  TNoRampDisplays(const char* label, std::string drmFolder);
  TKeyedText ReadOutputs() override;
};

// The wlroots desktops (sway, Hyprland, niri, river, labwc, Wayfire): the
// outputs as the compositor announces them, each one's EDID from the
// kernel's DRM connector, and its ramp through wlr gamma control, resampled
// to the output's own table size. A ramp lasts only while its client holds
// the control, so a ramp that must outlast this process (load mode) goes
// through the loader, which holds the controls for the whole session.
#pragma once

#include <memory>
#include <string>

#include "platform/wayland/loader_gamma_tables.h"
#include "platform/wayland/output_displays.h"
#include "platform/wayland/wlr_gamma_controls.h"

inline const char* const WlrBackendLabel = "wlroots (wlr gamma control)";

class TWlrDisplays : public TOutputDisplays {
 public:
  std::string BackendName() override { return "wlr"; }
  explicit TWlrDisplays(std::string drmFolder = "/sys/class/drm");

  // Whether the compositor can be reached and offers wlr gamma control.
  bool CompositorOffersGammaControl();
  // From now on tables go through the loader (started when none runs), so
  // that they outlast this process.
  void KeepRampsAfterExit() override;
  // The compositor does, when the control goes.
  bool GivesRampsBackAtExit() override { return true; }
  std::unique_ptr<TCalibrationKeeper> CalibrationKeeper(const TProfileMaker& makeProfile) override;
  // After OK: the loader is to hold the stored curves once this process has
  // ended. When none runs now (none ran at the start of the session, or it
  // has ended since), one is started and asked to wait for that end. False
  // when none can be.
  bool LeaveToLoader();

  bool GetRamp(TDisplayHandle display, TGammaRamp& ramp) override;
  bool SetRamp(TDisplayHandle display, const TGammaRamp& ramp) override;
  int32_t RampSize(TDisplayHandle display) override;
  std::string RampRefusal(TDisplayHandle display) override;

 protected:
  TKeyedText ReadOutputs() override;

 private:
  // The output's table size, 0 when it takes no table (with the reason).
  int32_t SizeOf(TDisplayHandle display, std::string* refusal = nullptr);

  TWlrGammaControls controls_;
  TGammaTables* tables_ = &controls_;
  // A session's connection to the loader, which has let go of the outputs
  // while it lasts; the way tables go when they are to outlast this process.
  std::unique_ptr<TLoaderGammaTables> loader_ = std::make_unique<TLoaderGammaTables>(LoaderBesideThisProgram());
  bool askedLoaderToLetGo_ = false;
  bool loaderLetGo_ = false;
};

// The displays of a GNOME session, through Mutter's interfaces on the session
// bus. The monitors are those that Mutter shows, in its order, virtual and
// remote ones included; those without a CRTC take no ramp. Live ramps go
// through a ColorManager calibration session (GNOME 49 and later), which
// Mutter ends, giving its own ramp back, when this process leaves the bus; without ColorManager, and wherever a ramp must outlast the
// process, through DisplayConfig's SetCrtcGamma. Every DisplayConfig call
// carries the serial of the configuration it is based on: a stale one is
// refused, and the call is made again on a fresh one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/wayland/output_displays.h"

struct sd_bus;
struct TSdBusLibrary;

inline const char* const GnomeBackendLabel = "GNOME";

class TGnomeDisplays : public TOutputDisplays {
 public:
  std::string BackendName() override { return "gnome"; }
  // Connects to the session bus; `drmFolder` is where the kernel lists its
  // DRM connectors.
  explicit TGnomeDisplays(std::string drmFolder = "/sys/class/drm");
  ~TGnomeDisplays() override;
  TGnomeDisplays(const TGnomeDisplays&) = delete;
  TGnomeDisplays& operator=(const TGnomeDisplays&) = delete;

  // True when Mutter's DisplayConfig answered on the session bus.
  bool MutterAnswers();
  // Ramps loaded from now on outlast this process (load mode, the guardian):
  // no calibration sessions, whose ramps Mutter takes back.
  void KeepRampsAfterExit() override { keepAfterExit_ = true; }
  // True when the live ramps go through calibration sessions, so that Mutter
  // itself gives each display its ramp back when this process ends.
  bool GivesRampsBackAtExit() override;
  // True while GNOME's Night Light warms the displays, changing their ramps
  // on purpose.
  bool NightLightActive();
  std::unique_ptr<TCalibrationKeeper> CalibrationKeeper(const TProfileMaker& makeProfile) override;

  bool GetRamp(TDisplayHandle display, TGammaRamp& ramp) override;
  bool SetRamp(TDisplayHandle display, const TGammaRamp& ramp) override;
  int32_t RampSize(TDisplayHandle display) override;
  std::string RampRefusal(TDisplayHandle display) override;

 protected:
  TKeyedText ReadOutputs() override;

 private:
  struct TCrtcState {
    // DisplayConfig's ids of the CRTCs showing the output: its own, then its
    // other tiles' (a monitor driven as tiles); none when it has no CRTC.
    std::vector<uint32_t> Crtcs;
    int GammaSize = -1;        // entries per channel; -1 until known, 0: takes no ramp
    std::string Session;       // the calibration session's object path, once opened
    TKeyedText Refusal;        // why the output takes no ramp, once known
  };

  // GetCurrentState's monitors with GetResources' serial and CRTCs, both of
  // one configuration; the reason when Mutter does not answer.
  TKeyedText AskResources(std::vector<TWaylandOutput>& outputs, std::vector<TCrtcState>& crtcs);
  // A fresh serial after a stale one was refused, and every output's CRTCs
  // as they are now; false when Mutter is gone or the output at `index` has
  // no CRTC any more.
  bool RefreshSerial(size_t index);
  bool CalibrationSessionsAvailable();
  // Opens the output's calibration session when there is none; false when
  // the output cannot be calibrated (its Refusal then says why).
  bool EnsureSession(size_t index);
  bool ReadCrtcGamma(size_t index, std::vector<uint16_t>& entries);
  bool WriteCrtcGamma(size_t index, const std::vector<uint16_t>& entries);
  bool WriteSessionGamma(size_t index, const std::vector<uint16_t>& entries);

  const TSdBusLibrary* sd_ = nullptr;
  sd_bus* bus_ = nullptr;
  uint32_t serial_ = 0;
  std::vector<TCrtcState> crtcs_;  // one per entry of Outputs
  int calibration_ = -1;           // ColorManager present: -1 not yet asked, 0 no, 1 yes
  bool keepAfterExit_ = false;
};

// The displays of an X server through RandR: every CRTC that drives a
// connected output is a monitor, in the server's output order; its gamma ramp
// is the video card's ramp. Outputs that mirror each other on one CRTC share
// that ramp, so they are one monitor, named after all of them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lang/worded_text.h"
#include "ramp/displays_port.h"

struct _XDisplay;

struct TRandrOutput {
  unsigned long Output = 0;  // RROutput
  unsigned long Crtc = 0;    // RRCrtc, 0 when the output is not driven
  std::string Name;          // "DP-1", also the device name; "DP-1+HDMI-1" for mirrors
  std::vector<unsigned long> Mirrors;  // further outputs on the same CRTC
  bool Monitor = false;      // connected and driven by a CRTC, and the CRTC's first such output
  bool Primary = false;
  TRect Rect;                // the CRTC's rectangle on the screen
  uint32_t WidthMm = 0;      // the monitor's width as it reports it, 0 when unknown
  int GammaSize = 0;         // entries of the CRTC's ramp, 0 until known
};

// The DPI of a monitor from its physical width, in the quarter steps of 96
// that display settings offer, from 96 to 288; 96 when the width is unknown
// or under 10 cm (some monitors give their aspect ratio there instead).
int32_t DpiFromPhysicalSize(int32_t widthPixels, uint32_t widthMm);

// Makes the first monitor output of each CRTC the monitor of every output on
// it: the later ones stop being monitors and lend it their names and primacy.
void MergeMirroredOutputs(std::vector<TRandrOutput>& outputs);

class TRandrDisplays : public TDisplaysPort {
 public:
  // Connects to the X server named by `displayName` (null: $DISPLAY).
  explicit TRandrDisplays(const char* displayName = nullptr);
  ~TRandrDisplays() override;
  TRandrDisplays(const TRandrDisplays&) = delete;
  TRandrDisplays& operator=(const TRandrDisplays&) = delete;

  bool Connected() const { return display_ != nullptr; }

  void EnumMonitors(const std::function<bool(TMonitorHandle)>& addMonitor) override;
  bool QueryMonitorInfo(TMonitorHandle monitor, TMonitorInfo& info) override;
  std::string LastErrorMessage() override;
  // The desktop's Xft.dpi, which applies to every monitor; without it, the
  // monitor's physical size.
  int32_t MonitorDpi(TMonitorHandle monitor) override;
  bool QueryDisplayDevice(const std::string& deviceName, TDisplayDevice& device) override;
  TDisplayHandle CreateDisplayHandle(TMonitorHandle monitor,
                                     const std::string& deviceName) override;
  void ReleaseDisplayHandle(TDisplayHandle display) override;
  bool GetRamp(TDisplayHandle display, TGammaRamp& ramp) override;
  bool SetRamp(TDisplayHandle display, const TGammaRamp& ramp) override;
  int32_t RampSize(TDisplayHandle display) override;
  void Wait(int32_t milliseconds) override;
  std::optional<std::vector<uint8_t>> ReadEdidOfModel(const std::string& modelCode) override;
  // The EDID of the output itself (the first of a mirror set that has one).
  bool MonitorFacts(TMonitorHandle monitor, const std::string& deviceName, TMonitorFacts& facts) override;
  std::string BackendName() override { return "x11"; }
  bool MonitorsUnknown() override { return !discoveryProblem_.Empty(); }
  std::string DiscoveryProblem() override { return discoveryProblem_.Text(); }

 private:
  // Fills outputs_; the reason when the server cannot be asked (discovery
  // runs before the language is loaded: the reason stays a key).
  TKeyedText ReadOutputs();
  TRandrOutput* OutputOf(void* handle);
  // The CRTC's ramp size, asked of the server only when not yet known.
  int GammaSizeOf(TRandrOutput& output);
  std::vector<uint8_t> ReadEdidProperty(unsigned long output) const;
  std::string DeviceIdOf(const TRandrOutput& output) const;

  _XDisplay* display_ = nullptr;
  unsigned long edidAtom_ = 0;  // None until the server has the atom
  std::vector<TRandrOutput> outputs_;  // every output, in the server's order
  std::string lastError_;
  TKeyedText notOpened_;         // why there is no connection to the X server
  TKeyedText discoveryProblem_;  // why the last EnumMonitors found no outputs
};

// The displays of an X server through RandR: every CRTC that drives a
// connected output is a monitor, in the server's output order; its gamma ramp
// is the video card's ramp. Outputs that mirror each other on one CRTC share
// that ramp, so they are one monitor, named after all of them.
#pragma once

#include <string>
#include <vector>

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
  int GammaSize = 0;         // entries of the CRTC's ramp, 0 until known
};

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
  int32_t MonitorDpi(TMonitorHandle monitor) override;
  bool QueryDisplayDevice(const std::string& deviceName, TDisplayDevice& device) override;
  TDisplayHandle CreateDisplayHandle(TMonitorHandle monitor,
                                     const std::string& deviceName) override;
  void ReleaseDisplayHandle(TDisplayHandle display) override;
  bool GetRamp(TDisplayHandle display, TGammaRamp& ramp) override;
  bool SetRamp(TDisplayHandle display, const TGammaRamp& ramp) override;
  void Wait(int32_t milliseconds) override;
  std::optional<std::vector<uint8_t>> ReadEdidOfModel(const std::string& modelCode) override;
  void ShowMessage(const std::string& caption, const std::string& text) override;

 private:
  // Fills outputs_; the reason when the server cannot be asked.
  std::string ReadOutputs();
  TRandrOutput* OutputOf(void* handle);
  // The CRTC's ramp size, asked of the server only when not yet known.
  int GammaSizeOf(TRandrOutput& output);
  std::vector<uint8_t> ReadEdidProperty(unsigned long output) const;
  std::string DeviceIdOf(const TRandrOutput& output) const;

  _XDisplay* display_ = nullptr;
  unsigned long edidAtom_ = 0;  // None until the server has the atom
  std::vector<TRandrOutput> outputs_;  // every output, in the server's order
  std::string lastError_;
};

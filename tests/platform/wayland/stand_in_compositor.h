// A small Wayland compositor of the tests' own on libwayland-server, serving
// from a thread of its own: outputs announced as wl_output version 4 (name,
// description, make, model, mode) and, when asked, wlr gamma control and
// KWin's output devices and output management over them.
//
// wlr gamma control: it records every table that an output shows, puts the
// output's own table back when the holding control is destroyed or its client
// disconnects, and either refuses a second client (wlroots 0.17 and later)
// or hands the output over to it (wlroots 0.16 and earlier). An output with
// gamma size 0 refuses every control, as sway's headless outputs do.
//
// KWin's output management: it keeps the colour profile assigned to each
// output and records every configuration applied. An output can announce no
// ICC capability, as KWin's virtual outputs do: a profile assigned to it is
// applied, yet the output goes on announcing the one it had.
#pragma once

#include <wayland-server-core.h>

#include <stdlib.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/wayland/stand_in_windows.h"
#include "tests/temp_folder.h"

// An output's profile as KWin keeps it (source: 0 sRGB, 1 ICC, 2 EDID).
struct TKdeProfileState {
  std::string Path;
  uint32_t Source = 0;
  bool operator==(const TKdeProfileState&) const = default;
};

struct TStandInOutput {
  std::string Name;
  std::string Description;
  int32_t X = 0, Width = 1920, Height = 1080;
  uint32_t GammaSize = 256;
  TKdeProfileState Profile = {};
  bool IccCapability = true;
  uint32_t OutputVersion = 4;  // below 4 without name and description, as older compositors
};

// Whether wlr gamma control is offered, and what a second client gets.
enum class TGammaControl { None, RefuseSecond, HandOver };

// What an output showed, in order: each table set, and an empty one each
// time the compositor's own table came back.
using TShownTables = std::vector<std::vector<uint16_t>>;

class StandInCompositor {
 public:
  // Listens on `socket` in XDG_RUNTIME_DIR. With `kdeManagementVersion`
  // above 0, KWin's output management at that version, and an output device
  // per output: each a global, or from version 21 announced by the
  // output-device registry. `note` hears every event as one line: "held
  // DP-1", "refused DP-1", "taken DP-1", "set DP-1 <entries>", "restored
  // DP-1"; "profile DP-1 <source> <path>" for each output at the start and
  // after each change, "apply DP-1=<path>:<source> ..." for each
  // configuration applied (the outputs it changed, in request order).
  StandInCompositor(const std::string& socket, const std::vector<TStandInOutput>& outputs, TGammaControl gamma,
                    uint32_t kdeManagementVersion = 0, std::function<void(const std::string&)> note = nullptr);
  ~StandInCompositor();
  StandInCompositor(const StandInCompositor&) = delete;
  StandInCompositor& operator=(const StandInCompositor&) = delete;

  void AddOutput(const TStandInOutput& output);
  void RemoveOutput(const std::string& name);
  // `failed` to the output's holder, as on a mode change the hardware refused.
  void SendFailed(const std::string& name);
  // What a toolkit needs to show windows (stand_in_windows.h), which `note`
  // hears of as "window <title>"; and a key pressed in the one shown last.
  void OfferWindows();
  bool PressKey(uint32_t key);
  TShownTables Shown(const std::string& name);
  bool Held(const std::string& name);
  std::vector<TKdeProfileState> Profiles();
  // The "apply" lines of `note`.
  std::vector<std::string> Applies();

  struct TOutputState;

 private:
  TOutputState* Find(const std::string& name);

  wl_display* display_ = nullptr;
  std::recursive_mutex lock_;
  std::atomic<bool> stop_{false};
  std::thread serving_;
  std::unique_ptr<TStandInWindows, void (*)(TStandInWindows*)> windows_{nullptr, nullptr};

 public:
  // For the protocols' handlers, which run under the lock.
  std::vector<std::unique_ptr<TOutputState>> Outputs;  // removed ones too, for Shown
  const TGammaControl Gamma;
  const uint32_t KdeManagementVersion;
  const std::function<void(const std::string&)> Note;
  std::vector<std::string> AppliedLines;
};

// The list "DP-1:1024,HDMI-A-1:256=/path/profile.icc" (name, gamma size,
// profile assigned as ICC) as outputs side by side, 1920 x 1080 each.
std::vector<TStandInOutput> StandInOutputsOf(const std::string& list);

// This process's Wayland session for a test: a private XDG_RUNTIME_DIR, and
// WAYLAND_DISPLAY naming the stand-in's socket there.
struct TPrivateWaylandSession {
  TPrivateWaylandSession() {
    setenv("XDG_RUNTIME_DIR", Runtime.Path().c_str(), 1);
    setenv("WAYLAND_DISPLAY", Socket, 1);
  }
  TempFolder Runtime;
  const char* const Socket = "wayland-test";
};

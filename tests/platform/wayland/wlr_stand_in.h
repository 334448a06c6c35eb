// A small wlroots-like compositor on libwayland-server, serving from a thread
// of its own: outputs announced as wl_output version 4 (name, description,
// make, model, mode), and wlr gamma control over them. It records every table
// that an output shows, puts the output's own table back when the holding
// control is destroyed or its client disconnects, and either refuses a
// second client (wlroots 0.17 and later) or hands the output over to it
// (wlroots 0.16 and earlier). An output with gamma size 0 refuses every
// control, as sway's headless outputs do.
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

#include "tests/temp_folder.h"

struct TStandInOutput {
  std::string Name;
  std::string Description;
  int32_t X = 0, Width = 1920, Height = 1080;
  uint32_t GammaSize = 256;
};

enum class TOwnerRule { RefuseSecond, HandOver };

// What an output showed, in order: each table set, and an empty one each
// time the compositor's own table came back.
using TShownTables = std::vector<std::vector<uint16_t>>;

class WlrStandIn {
 public:
  // Listens on `socket` in XDG_RUNTIME_DIR. `note` hears every event as one
  // line ("held DP-1", "refused DP-1", "set DP-1 <entries>", "restored DP-1").
  WlrStandIn(const std::string& socket, const std::vector<TStandInOutput>& outputs, TOwnerRule rule,
             std::function<void(const std::string&)> note = nullptr);
  ~WlrStandIn();
  WlrStandIn(const WlrStandIn&) = delete;
  WlrStandIn& operator=(const WlrStandIn&) = delete;

  void AddOutput(const TStandInOutput& output);
  void RemoveOutput(const std::string& name);
  // `failed` to the output's holder, as on a mode change the hardware refused.
  void SendFailed(const std::string& name);
  TShownTables Shown(const std::string& name);
  bool Held(const std::string& name);

  struct TOutputState;

 private:
  TOutputState* Find(const std::string& name);

  wl_display* display_ = nullptr;
  std::vector<std::unique_ptr<TOutputState>> outputs_;
  std::recursive_mutex lock_;
  std::atomic<bool> stop_{false};
  std::thread serving_;

 public:
  // For the protocol's handlers, which run under the lock.
  const TOwnerRule Rule;
  const std::function<void(const std::string&)> Note;
};

// The list "DP-1:1024,HDMI-A-1:256" (name, gamma size) as outputs side by
// side, 1920 x 1080 each.
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

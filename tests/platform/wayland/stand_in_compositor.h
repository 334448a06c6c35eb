// A small Wayland compositor of the tests' own, served from a thread of the
// test on a socket in a private runtime folder: it announces outputs the way
// compositors do (wl_output version 4) and, when asked, KWin's output devices
// and output management, keeping the colour profile assigned to each output
// and every configuration applied.
#pragma once

#include <wayland-server-core.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/temp_folder.h"

struct TAnnounced {
  std::string Name;
  std::string Description;
  int32_t X, Width, Height;
};

// An output's profile as KWin keeps it (source: 0 sRGB, 1 ICC, 2 EDID).
struct TKdeProfileState {
  std::string Path;
  uint32_t Source = 0;
  bool operator==(const TKdeProfileState&) const = default;
};

class StandInCompositor {
 public:
  // Sets XDG_RUNTIME_DIR and WAYLAND_DISPLAY for the clients to come. With
  // `kdeManagementVersion` above 0, KWin's output management at that
  // version, and an output device per output: each a global, or from
  // version 21 announced by the output-device registry.
  explicit StandInCompositor(const std::vector<TAnnounced>& outputs, uint32_t kdeManagementVersion = 0,
                             std::vector<TKdeProfileState> profiles = {});
  ~StandInCompositor();

  // The socket's path, for clients in other processes.
  std::string SocketPath() const;
  std::vector<TKdeProfileState> Profiles();
  // One line per configuration applied: "apply" and "<output>=<path>:<source>"
  // for each output it changed, in request order.
  std::vector<std::string> Applies();
  // Rewrites `path` after each configuration: "<output> <source> <path>" a line.
  void WriteProfilesTo(const std::string& path);

  struct TOutput;
  struct TKde;

 private:
  TempFolder runtime_;
  std::vector<TOutput*> outputs_;
  wl_display* display_ = nullptr;
  std::atomic<bool> stop_{false};
  std::thread serving_;
};

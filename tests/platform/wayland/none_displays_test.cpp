// The "none" back-end against a small Wayland compositor of the test's own,
// which announces two outputs the way compositors do (wl_output version 4).
#include "platform/wayland/none_displays.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <wayland-server-core.h>
#include <wayland-server-protocol.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "ramp/display_discovery.h"
#include "ramp/load_curves.h"
#include "tests/ramp/edid_blocks.h"
#include "tests/temp_folder.h"

namespace {

struct TAnnounced {
  const char* Name;
  const char* Description;
  int32_t X, Width, Height;
};

void BindOutput(wl_client* client, void* data, uint32_t version, uint32_t id) {
  const auto& output = *static_cast<const TAnnounced*>(data);
  wl_resource* resource = wl_resource_create(client, &wl_output_interface, static_cast<int>(version), id);
  wl_output_send_geometry(resource, output.X, 0, 600, 340, WL_OUTPUT_SUBPIXEL_UNKNOWN, "Maker", "Model",
                          WL_OUTPUT_TRANSFORM_NORMAL);
  wl_output_send_mode(resource, 0, 640, 480, 60000);
  wl_output_send_mode(resource, WL_OUTPUT_MODE_CURRENT, output.Width, output.Height, 60000);
  if (version >= 4) {
    wl_output_send_name(resource, output.Name);
    wl_output_send_description(resource, output.Description);
  }
  wl_output_send_done(resource);
}

class StandInCompositor {
 public:
  explicit StandInCompositor(const std::vector<TAnnounced>& outputs) : outputs_(outputs) {
    setenv("XDG_RUNTIME_DIR", runtime_.Path().c_str(), 1);
    setenv("WAYLAND_DISPLAY", "wayland-test", 1);
    display_ = wl_display_create();
    wl_display_add_socket(display_, "wayland-test");
    for (TAnnounced& output : outputs_) wl_global_create(display_, &wl_output_interface, 4, &output, BindOutput);
    serving_ = std::thread([this] {
      wl_event_loop* loop = wl_display_get_event_loop(display_);
      while (!stop_) {
        wl_event_loop_dispatch(loop, 20);
        wl_display_flush_clients(display_);
      }
    });
  }
  ~StandInCompositor() {
    stop_ = true;
    serving_.join();
    wl_display_destroy_clients(display_);
    wl_display_destroy(display_);
  }

 private:
  TempFolder runtime_;
  std::vector<TAnnounced> outputs_;
  wl_display* display_ = nullptr;
  std::atomic<bool> stop_{false};
  std::thread serving_;
};

TEST(NoRampDisplays, AreTheCompositorsOutputsEachRefusingWithTheReason) {
  TempFolder drm;
  TEdid edid{};
  PutModelAbc1234(edid);
  PutTextDescriptor(edid, 0, 0xFC, "Model X\n");
  std::filesystem::create_directories(drm.Path() / "card0-HDMI-A-1");
  WriteBytes(drm.File("card0-HDMI-A-1/edid"), EdidBytes(edid));
  StandInCompositor compositor({{"DP-1", "Maker Model (DP-1)", 0, 2560, 1440}, {"HDMI-A-1", "Other", 2560, 1920, 1080}});
  TNoRampDisplays displays(drm.Path().string());
  SetDisplaysPort(displays);
  EnumerateDisplays();

  ASSERT_EQ(DisplayCount, 2);
  EXPECT_EQ(Displays[0].MonitorInfo.DeviceName, "DP-1");
  EXPECT_EQ(Displays[0].MonitorInfo.Monitor, (TRect{0, 0, 2560, 1440}));
  EXPECT_EQ(Displays[0].Name, "1: Maker Model (DP-1)");
  EXPECT_EQ(Displays[1].MonitorInfo.Monitor, (TRect{2560, 0, 4480, 1080}));
  EXPECT_EQ(Displays[1].Name, "2: Model X");

  TLoadReport report;
  EXPECT_FALSE(LoadLinearRamps(report));
  ASSERT_EQ(report.Refused.size(), 2u);
  EXPECT_EQ(report.Refused[1].first, 1);
  EXPECT_EQ(report.Refused[1].second, "this desktop does not let programs set its gamma ramp");
  EXPECT_TRUE(report.NotKept.empty());
  ReleaseDisplays();
}

}  // namespace

#include "platform/qt/output_scales.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "xdg-output-unstable-v1-client-protocol.h"

namespace {

struct TOutput {
  wl_output* Output = nullptr;
  zxdg_output_v1* XdgOutput = nullptr;
  int32_t Width = 0, Height = 0;                // pixels, before any rotation
  int32_t LogicalWidth = 0, LogicalHeight = 0;  // after it
  TOutputScale Found;
};

struct TQuery {
  zxdg_output_manager_v1* Manager = nullptr;
  std::vector<std::unique_ptr<TOutput>> Outputs;
};

void Mode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
  if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
  static_cast<TOutput*>(data)->Width = width;
  static_cast<TOutput*>(data)->Height = height;
}
void Scale(void* data, wl_output*, int32_t factor) { static_cast<TOutput*>(data)->Found.BufferScale = factor; }
void Geometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {}
void Done(void*, wl_output*) {}
// Bound at version 2: no name or description events.
const wl_output_listener OutputListener{Geometry, Mode, Done, Scale, nullptr, nullptr};

void LogicalPosition(void*, zxdg_output_v1*, int32_t, int32_t) {}
void LogicalSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
  static_cast<TOutput*>(data)->LogicalWidth = width;
  static_cast<TOutput*>(data)->LogicalHeight = height;
}
void XdgDone(void*, zxdg_output_v1*) {}
void Name(void* data, zxdg_output_v1*, const char* name) { static_cast<TOutput*>(data)->Found.Name = name; }
void Description(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener XdgOutputListener{LogicalPosition, LogicalSize, XdgDone, Name, Description};

void Global(void* data, wl_registry* registry, uint32_t id, const char* interface, uint32_t version) {
  auto& query = *static_cast<TQuery*>(data);
  const std::string name = interface;
  if (name == wl_output_interface.name && version >= 2) {
    auto& output = *query.Outputs.emplace_back(std::make_unique<TOutput>());
    output.Output = static_cast<wl_output*>(wl_registry_bind(registry, id, &wl_output_interface, 2));
    wl_output_add_listener(output.Output, &OutputListener, &output);
  } else if (name == zxdg_output_manager_v1_interface.name && version >= 2) {
    // Version 2 names the outputs.
    query.Manager = static_cast<zxdg_output_manager_v1*>(
        wl_registry_bind(registry, id, &zxdg_output_manager_v1_interface, 2));
  }
}
void GlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener RegistryListener{Global, GlobalRemove};

// A fractional scale reaches clients only as the logical size that the
// output's pixels stand for; rotation turns both sizes alike.
double ScaleOf(const TOutput& output) {
  const int32_t logical = std::max(output.LogicalWidth, output.LogicalHeight);
  if (logical <= 0 || output.Width <= 0) return output.Found.BufferScale;
  return double(std::max(output.Width, output.Height)) / logical;
}

std::vector<TOutputScale> AskCompositor() {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) return {};
  TQuery query;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &RegistryListener, &query);
  wl_display_roundtrip(display);
  for (auto& output : query.Outputs)
    if (query.Manager) {
      output->XdgOutput = zxdg_output_manager_v1_get_xdg_output(query.Manager, output->Output);
      zxdg_output_v1_add_listener(output->XdgOutput, &XdgOutputListener, output.get());
    }
  wl_display_roundtrip(display);
  std::vector<TOutputScale> found;
  for (auto& output : query.Outputs) {
    output->Found.Scale = ScaleOf(*output);
    if (!output->Found.Name.empty()) found.push_back(output->Found);
    if (output->XdgOutput) zxdg_output_v1_destroy(output->XdgOutput);
    wl_output_destroy(output->Output);
  }
  if (query.Manager) zxdg_output_manager_v1_destroy(query.Manager);
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  return found;
}

}  // namespace

const std::vector<TOutputScale>& StartOutputScales() {
  static const std::vector<TOutputScale> scales = AskCompositor();
  return scales;
}

std::string ScreenScaleFactors(const std::vector<TOutputScale>& outputs) {
  std::string factors;
  for (const TOutputScale& output : outputs) {
    if (output.Scale == 1) continue;
    char factor[32];
    std::snprintf(factor, sizeof factor, "%.9g", 1 / output.Scale);
    factors += (factors.empty() ? "" : ";") + output.Name + "=" + factor;
  }
  return factors;
}

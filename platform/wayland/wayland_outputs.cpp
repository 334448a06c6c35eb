#include "platform/wayland/wayland_outputs.h"

#include <algorithm>
#include <cstring>

#include "loader/linux/gamma_wire.h"
#include "platform/wayland/wayland_client_library.h"
#include "xdg-output-unstable-v1-client-protocol.h"

namespace {

// Version 4 adds the output's name ("DP-1") and description.
constexpr uint32_t OutputVersion = 4;
// Compositors that announce outputs below version 4 (Weston 10 announces
// version 3) give the name and description through xdg-output, from its
// version 2.
constexpr uint32_t XdgOutputNameVersion = 2;

constexpr size_t MostOutputs = 64;

struct TListing {
  const TWaylandLibrary* Wl = nullptr;
  std::vector<TWaylandOutput> Outputs;  // reserved for MostOutputs: the listeners hold pointers into it
  std::vector<wl_proxy*> Proxies;
  std::vector<wl_proxy*> Unnamed;  // outputs bound below version 4, in the order of Outputs
  std::vector<uint32_t> Globals;   // in the order of Outputs
  wl_proxy* XdgOutputs = nullptr;
};

TWaylandOutput& OutputOf(void* data) { return *static_cast<TWaylandOutput*>(data); }

void Geometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*, const char*,
              int32_t) {
  TRect& rect = OutputOf(data).Rect;
  rect = {x, y, x + rect.Right - rect.Left, y + rect.Bottom - rect.Top};
}

void Mode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
  if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
  TRect& rect = OutputOf(data).Rect;
  rect.Right = rect.Left + width;
  rect.Bottom = rect.Top + height;
}

void Done(void*, wl_output*) {}
void Scale(void*, wl_output*, int32_t) {}
void Name(void* data, wl_output*, const char* name) { OutputOf(data).Name = name; }
void Description(void* data, wl_output*, const char* description) { OutputOf(data).Description = description; }

const wl_output_listener OutputListener = {Geometry, Mode, Done, Scale, Name, Description};

void LogicalPosition(void*, zxdg_output_v1*, int32_t, int32_t) {}
void LogicalSize(void*, zxdg_output_v1*, int32_t, int32_t) {}
void XdgDone(void*, zxdg_output_v1*) {}
void XdgName(void* data, zxdg_output_v1*, const char* name) { OutputOf(data).Name = name; }
void XdgDescription(void* data, zxdg_output_v1*, const char* description) {
  OutputOf(data).Description = description;
}

const zxdg_output_v1_listener XdgOutputListener = {LogicalPosition, LogicalSize, XdgDone, XdgName, XdgDescription};

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
  TListing& listing = *static_cast<TListing*>(data);
  const TWaylandLibrary& wl = *listing.Wl;
  if (std::strcmp(interface, zxdg_output_manager_v1_interface.name) == 0 && version >= XdgOutputNameVersion) {
    listing.XdgOutputs = BindGlobal(wl, reinterpret_cast<wl_proxy*>(registry), name,
                                    &zxdg_output_manager_v1_interface, XdgOutputNameVersion);
    return;
  }
  if (std::strcmp(interface, wl.OutputInterface->name) != 0 || listing.Outputs.size() == MostOutputs) return;
  const uint32_t bound = std::min(version, OutputVersion);
  wl_proxy* output = BindGlobal(wl, reinterpret_cast<wl_proxy*>(registry), name, wl.OutputInterface, bound);
  if (output == nullptr) return;
  listing.Proxies.push_back(output);
  listing.Outputs.emplace_back();
  listing.Unnamed.push_back(bound < OutputVersion ? output : nullptr);
  listing.Globals.push_back(name);
  Listen(wl, output, OutputListener, &listing.Outputs.back());
}

// Asks xdg-output for the names that outputs below version 4 cannot give;
// they come with the outputs' own events.
void AskXdgOutputs(TListing& listing) {
  if (listing.XdgOutputs == nullptr) return;
  const TWaylandLibrary& wl = *listing.Wl;
  for (size_t i = 0; i < listing.Unnamed.size(); ++i) {
    if (listing.Unnamed[i] == nullptr) continue;
    wl_proxy* xdgOutput =
        wl.MarshalFlags(listing.XdgOutputs, ZXDG_OUTPUT_MANAGER_V1_GET_XDG_OUTPUT, &zxdg_output_v1_interface,
                        XdgOutputNameVersion, 0, nullptr, listing.Unnamed[i]);
    if (xdgOutput == nullptr) continue;
    listing.Proxies.push_back(xdgOutput);
    Listen(wl, xdgOutput, XdgOutputListener, &listing.Outputs[i]);
  }
}

void GlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener RegistryListener = {Global, GlobalRemove};

}  // namespace

std::vector<TWaylandOutput> ListWaylandOutputs(std::string& problemKey) {
  const TWaylandLibrary* wl = WaylandClient();
  if (wl == nullptr) {
    problemKey = "MNoWaylandLibrary";
    return {};
  }
  wl_display* display = wl->Connect(nullptr);
  if (display == nullptr) {
    problemKey = "MNoCompositor";
    return {};
  }
  TListing listing;
  listing.Wl = wl;
  listing.Outputs.reserve(MostOutputs);
  wl_proxy* registry = GetRegistry(*wl, display);
  if (registry != nullptr) {
    Listen(*wl, registry, RegistryListener, &listing);
    // The globals, then each output's events.
    wl->Roundtrip(display);
    AskXdgOutputs(listing);
    wl->Roundtrip(display);
    for (wl_proxy* proxy : listing.Proxies) wl->Destroy(proxy);
    if (listing.XdgOutputs != nullptr) wl->Destroy(listing.XdgOutputs);
    wl->Destroy(registry);
  }
  wl->Disconnect(display);
  for (size_t i = 0; i < listing.Outputs.size(); ++i) {
    if (!listing.Outputs[i].Name.empty()) continue;
    char name[GammaOutputNameSize];
    UnnamedOutputName(listing.Globals[i], name, sizeof name);  // as the wlroots back-end and the loader name it
    listing.Outputs[i].Name = name;
  }
  return listing.Outputs;
}

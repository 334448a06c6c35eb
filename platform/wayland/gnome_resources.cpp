// The monitors of GetCurrentState, each given the CRTC that GetResources says
// drives its connector and, for a monitor driven as tiles (GetCurrentState
// names it by one tile), the CRTCs of its other tiles. A monitor without a
// CRTC (Mutter's virtual and remote monitors have none) takes no ramp.
#include "platform/wayland/gnome_displays.h"
#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/gnome_monitors.h"
#include "platform/wayland/mutter_names.h"
#include "platform/wayland/mutter_properties.h"
#include "platform/wayland/sd_bus_library.h"

namespace {

constexpr const char* MutterUnknownName = "unknown";
// A monitor plugged in or out between GetCurrentState and GetResources gives
// them different serials: asked again this many times at most, after which
// the last answers are taken as they are.
constexpr int MostDescriptionAsks = 4;

struct TMutterOutput {
  std::string Connector;
  int32_t Crtc = -1;       // -1: connected but driven by no CRTC
  uint32_t TileGroup = 0;  // shared by the tiles of one monitor; 0: not a tile
};

// GetResources: its serial and, for each output, its CRTC and tile group.
TKeyedText AskOutputs(const TSdBusLibrary& sd, sd_bus* bus, uint32_t& serial, std::vector<TMutterOutput>& outputs) {
  TSdBusCall call(sd);
  if (sd.CallMethod(bus, MutterDisplayConfigService, MutterDisplayConfigPath, MutterDisplayConfigInterface,
                    "GetResources", &call.Error, &call.Reply, "") < 0)
    return {"MGnomeNoDescription", call.Error.message != nullptr ? call.Error.message : ""};
  sd_bus_message* reply = call.Reply;
  sd.Read(reply, "u", &serial);
  sd.Skip(reply, "a(uxiiiiiuaua{sv})");
  outputs.clear();
  sd.EnterContainer(reply, 'a', "(uxiausauaua{sv})");
  while (sd.EnterContainer(reply, 'r', "uxiausauaua{sv}") > 0) {
    uint32_t id = 0;
    int64_t winsys = 0;
    const char* connector = nullptr;
    TMutterOutput output;
    sd.Read(reply, "uxi", &id, &winsys, &output.Crtc);
    sd.Skip(reply, "au");
    sd.Read(reply, "s", &connector);
    output.Connector = connector != nullptr ? connector : "";
    sd.Skip(reply, "auau");
    ReadProperties(sd, reply, [&](const std::string& key, const std::string& type) {
      if (key != "tile" || type != "(uuuuuuuu)") return false;
      // After the group: flags, the tiles across and down, this one's column and row, its size.
      uint32_t flags = 0, across = 0, down = 0, column = 0, row = 0, width = 0, height = 0;
      sd.Read(reply, "v", "(uuuuuuuu)", &output.TileGroup, &flags, &across, &down, &column, &row, &width, &height);
      return true;
    });
    sd.ExitContainer(reply);
    outputs.push_back(output);
  }
  sd.ExitContainer(reply);
  return {};
}

// The CRTCs that show the monitor on `connector`: its own, then those of its
// other tiles (GetCurrentState names a tiled monitor by one tile only).
std::vector<uint32_t> CrtcsOf(const std::vector<TMutterOutput>& outputs, const std::string& connector) {
  std::vector<uint32_t> crtcs;
  const TMutterOutput* named = nullptr;
  for (const TMutterOutput& output : outputs)
    if (output.Connector == connector) named = &output;
  if (named == nullptr || named->Crtc < 0) return crtcs;
  crtcs.push_back(static_cast<uint32_t>(named->Crtc));
  for (const TMutterOutput& tile : outputs)
    if (&tile != named && named->TileGroup != 0 && tile.TileGroup == named->TileGroup && tile.Crtc >= 0)
      crtcs.push_back(static_cast<uint32_t>(tile.Crtc));
  return crtcs;
}

// Mutter says "unknown" for what the monitor does not tell.
std::string JoinNames(const TMutterMonitor& monitor) {
  std::string joined;
  for (const std::string* name : {&monitor.Vendor, &monitor.Product, &monitor.Serial})
    if (!name->empty() && *name != MutterUnknownName) joined += (joined.empty() ? "" : " ") + *name;
  return joined;
}

}  // namespace

TKeyedText TGnomeDisplays::AskResources(std::vector<TWaylandOutput>& outputs, std::vector<TCrtcState>& crtcs) {
  if (bus_ == nullptr) return {"MSessionBusUnreachable"};
  std::vector<TMutterMonitor> monitors;
  std::vector<TMutterOutput> driven;
  for (int ask = 0; ask < MostDescriptionAsks; ++ask) {
    uint32_t monitorsSerial = 0;
    TKeyedText problem = AskCurrentMonitors(*sd_, bus_, monitorsSerial, monitors);
    if (problem.Empty()) problem = AskOutputs(*sd_, bus_, serial_, driven);
    if (!problem.Empty()) return problem;
    if (monitorsSerial == serial_) break;
  }
  outputs.clear();
  crtcs.clear();
  for (const TMutterMonitor& monitor : monitors) {
    TWaylandOutput output;
    output.Name = monitor.Connector;
    output.Rect = monitor.Rect;
    output.Primary = monitor.Primary;
    output.Description = JoinNames(monitor);
    output.Edid = DrmConnectorEdid(DrmFolder, output.Name);
    output.Vendor = monitor.Vendor;
    output.Product = monitor.Product;
    output.Serial = monitor.Serial;
    TCrtcState state;
    state.Crtcs = CrtcsOf(driven, monitor.Connector);
    if (state.Crtcs.empty()) {
      state.GammaSize = 0;
      state.Refusal = {GnomeNoRampKey};
    }
    outputs.push_back(output);
    crtcs.push_back(state);
  }
  return {};
}

TKeyedText TGnomeDisplays::ReadOutputs() {
  const TKeyedText problem = AskResources(Outputs, crtcs_);
  // Without a primary output Mutter's first monitor is the main one.
  bool primary = false;
  for (const TWaylandOutput& output : Outputs) primary = primary || output.Primary;
  if (!primary && !Outputs.empty()) Outputs.front().Primary = true;
  return problem;
}

bool TGnomeDisplays::RefreshSerial(size_t index) {
  // The CRTCs may have moved between outputs: the ids follow the connectors,
  // what was learnt about each output stays. A connector gone, or left
  // without a CRTC, keeps no id: its old CRTC may drive another monitor now.
  // One given other CRTCs, or CRTCs where it had none, takes ramps again.
  std::vector<TWaylandOutput> outputs;
  std::vector<TCrtcState> crtcs;
  if (!AskResources(outputs, crtcs).Empty()) return false;
  for (size_t i = 0; i < Outputs.size(); ++i) {
    size_t j = 0;
    while (j < outputs.size() && outputs[j].Name != Outputs[i].Name) ++j;
    TCrtcState& state = crtcs_[i];
    if (j == outputs.size() || crtcs[j].Crtcs.empty()) {
      state.Crtcs.clear();
      state.GammaSize = 0;
      state.Refusal = {j == outputs.size() ? GnomeGoneKey : GnomeNoRampKey};
    } else if (crtcs[j].Crtcs != state.Crtcs) {
      state.Crtcs = crtcs[j].Crtcs;
      state.GammaSize = -1;
      state.Refusal = {};
    }
  }
  return crtcs_[index].GammaSize != 0;
}

// The monitors of GetCurrentState, each given the CRTC that GetResources says
// drives its connector. A monitor without one (Mutter's virtual and remote
// monitors have none) is a display that takes no ramp.
#include "platform/wayland/gnome_displays.h"
#include "platform/wayland/backend_reasons.h"
#include "platform/wayland/gnome_monitors.h"
#include "platform/wayland/mutter_names.h"
#include "platform/wayland/sd_bus_library.h"

namespace {

constexpr const char* MutterUnknownName = "unknown";

struct TConnectorCrtc {
  std::string Connector;
  int32_t Crtc = -1;  // -1: connected but driven by no CRTC
};

// GetResources: its serial and which CRTC drives each output.
std::string AskCrtcs(const TSdBusLibrary& sd, sd_bus* bus, uint32_t& serial, std::vector<TConnectorCrtc>& driven) {
  TSdBusCall call(sd);
  if (sd.CallMethod(bus, MutterDisplayConfigService, MutterDisplayConfigPath, MutterDisplayConfigInterface,
                    "GetResources", &call.Error, &call.Reply, "") < 0)
    return std::string("GNOME did not describe its displays: ") +
           (call.Error.message != nullptr ? call.Error.message : "no answer");
  sd_bus_message* reply = call.Reply;
  sd.Read(reply, "u", &serial);
  sd.Skip(reply, "a(uxiiiiiuaua{sv})");
  driven.clear();
  sd.EnterContainer(reply, 'a', "(uxiausauaua{sv})");
  while (sd.EnterContainer(reply, 'r', "uxiausauaua{sv}") > 0) {
    uint32_t id = 0;
    int64_t winsys = 0;
    int32_t current = -1;
    const char* connector = nullptr;
    sd.Read(reply, "uxi", &id, &winsys, &current);
    sd.Skip(reply, "au");
    sd.Read(reply, "s", &connector);
    sd.Skip(reply, "auaua{sv}");
    sd.ExitContainer(reply);
    driven.push_back({connector != nullptr ? connector : "", current});
  }
  sd.ExitContainer(reply);
  return "";
}

int32_t CrtcOf(const std::vector<TConnectorCrtc>& driven, const std::string& connector) {
  for (const TConnectorCrtc& output : driven)
    if (output.Connector == connector) return output.Crtc;
  return -1;
}

// Mutter says "unknown" for what the monitor does not tell.
std::string JoinNames(const TMutterMonitor& monitor) {
  std::string joined;
  for (const std::string* name : {&monitor.Vendor, &monitor.Product, &monitor.Serial})
    if (!name->empty() && *name != MutterUnknownName) joined += (joined.empty() ? "" : " ") + *name;
  return joined;
}

}  // namespace

std::string TGnomeDisplays::AskResources(std::vector<TWaylandOutput>& outputs, std::vector<TCrtcState>& crtcs) {
  if (bus_ == nullptr) return "The session bus cannot be reached, so GNOME cannot be asked for its displays.";
  std::vector<TMutterMonitor> monitors;
  std::vector<TConnectorCrtc> driven;
  std::string problem = AskCurrentMonitors(*sd_, bus_, monitors);
  if (problem.empty()) problem = AskCrtcs(*sd_, bus_, serial_, driven);
  if (!problem.empty()) return problem;
  outputs.clear();
  crtcs.clear();
  for (const TMutterMonitor& monitor : monitors) {
    TWaylandOutput output;
    output.Name = monitor.Connector;
    output.Rect = monitor.Rect;
    output.Primary = monitor.Primary;
    output.Description = JoinNames(monitor);
    output.Edid = DrmConnectorEdid(DrmFolder, output.Name);
    TCrtcState state;
    const int32_t crtc = CrtcOf(driven, monitor.Connector);
    if (crtc >= 0) {
      state.Crtc = static_cast<uint32_t>(crtc);
    } else {
      state.GammaSize = 0;
      state.Refusal = GnomeNoRampKey;
    }
    outputs.push_back(output);
    crtcs.push_back(state);
  }
  return "";
}

std::string TGnomeDisplays::ReadOutputs() {
  const std::string problem = AskResources(Outputs, crtcs_);
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
  std::vector<TWaylandOutput> outputs;
  std::vector<TCrtcState> crtcs;
  if (!AskResources(outputs, crtcs).empty()) return false;
  for (size_t i = 0; i < Outputs.size(); ++i) {
    size_t j = 0;
    while (j < outputs.size() && outputs[j].Name != Outputs[i].Name) ++j;
    if (j == outputs.size() || crtcs[j].GammaSize == 0) {
      crtcs_[i].GammaSize = 0;
      crtcs_[i].Refusal = j == outputs.size() ? GnomeGoneKey : GnomeNoRampKey;
    } else if (crtcs[j].Crtc != crtcs_[i].Crtc) {
      crtcs_[i].Crtc = crtcs[j].Crtc;
      crtcs_[i].GammaSize = -1;
    }
  }
  return crtcs_[index].GammaSize != 0;
}

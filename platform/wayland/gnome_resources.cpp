// Mutter's GetResources, read into the outputs that are monitors: those that
// a CRTC drives, in Mutter's order, with the CRTC's rectangle.
#include <cstring>

#include "platform/wayland/gnome_displays.h"
#include "platform/wayland/mutter_names.h"
#include "platform/wayland/sd_bus_library.h"

namespace {

struct TCrtc {
  uint32_t Id = 0;
  TRect Rect;
};

// Reads the a{sv} of an output's properties; keeps the strings and flags
// that name the monitor.
void ReadOutputProperties(const TSdBusLibrary& sd, sd_bus_message* reply, TWaylandOutput& output,
                          std::string (&names)[3]) {
  sd.EnterContainer(reply, 'a', "{sv}");
  while (sd.EnterContainer(reply, 'e', "sv") > 0) {
    const char* key = nullptr;
    sd.Read(reply, "s", &key);
    const std::string name = key != nullptr ? key : "";
    char type = 0;
    const char* contents = nullptr;
    sd.PeekType(reply, &type, &contents);
    const std::string held = contents != nullptr ? contents : "";
    if (held == "s" && (name == "vendor" || name == "product" || name == "serial")) {
      const char* value = nullptr;
      sd.Read(reply, "v", "s", &value);
      names[name == "vendor" ? 0 : name == "product" ? 1 : 2] = value != nullptr ? value : "";
    } else if (held == "b" && name == "primary") {
      int primary = 0;
      sd.Read(reply, "v", "b", &primary);
      output.Primary = primary != 0;
    } else {
      sd.Skip(reply, "v");
    }
    sd.ExitContainer(reply);
  }
  sd.ExitContainer(reply);
}

std::string JoinNames(const std::string (&names)[3]) {
  std::string joined;
  for (const std::string& name : names)
    if (!name.empty()) joined += (joined.empty() ? "" : " ") + name;
  return joined;
}

}  // namespace

std::string TGnomeDisplays::AskResources(std::vector<TWaylandOutput>& outputs, std::vector<TCrtcState>& crtcs) {
  if (bus_ == nullptr) return "The session bus cannot be reached, so GNOME cannot be asked for its displays.";
  const TSdBusLibrary& sd = *sd_;
  TSdBusCall call(sd);
  if (sd.CallMethod(bus_, MutterDisplayConfigService, MutterDisplayConfigPath, MutterDisplayConfigInterface,
                    "GetResources", &call.Error, &call.Reply, "") < 0)
    return std::string("GNOME did not describe its displays: ") +
           (call.Error.message != nullptr ? call.Error.message : "no answer");
  sd_bus_message* reply = call.Reply;
  sd.Read(reply, "u", &serial_);

  std::vector<TCrtc> known;
  sd.EnterContainer(reply, 'a', "(uxiiiiiuaua{sv})");
  while (sd.EnterContainer(reply, 'r', "uxiiiiiuaua{sv}") > 0) {
    TCrtc crtc;
    int64_t winsys = 0;
    int32_t x = 0, y = 0, width = 0, height = 0, mode = 0;
    uint32_t transform = 0;
    sd.Read(reply, "uxiiiiiu", &crtc.Id, &winsys, &x, &y, &width, &height, &mode, &transform);
    sd.Skip(reply, "aua{sv}");
    sd.ExitContainer(reply);
    crtc.Rect = {x, y, x + width, y + height};
    known.push_back(crtc);
  }
  sd.ExitContainer(reply);

  outputs.clear();
  crtcs.clear();
  sd.EnterContainer(reply, 'a', "(uxiausauaua{sv})");
  while (sd.EnterContainer(reply, 'r', "uxiausauaua{sv}") > 0) {
    uint32_t id = 0;
    int64_t winsys = 0;
    int32_t current = -1;
    const char* connector = nullptr;
    sd.Read(reply, "uxi", &id, &winsys, &current);
    sd.Skip(reply, "au");
    sd.Read(reply, "s", &connector);
    sd.Skip(reply, "auau");
    TWaylandOutput output;
    output.Name = connector != nullptr ? connector : "";
    std::string names[3];
    ReadOutputProperties(sd, reply, output, names);
    sd.ExitContainer(reply);
    if (current < 0) continue;  // connected but switched off
    TCrtcState state;
    state.Crtc = static_cast<uint32_t>(current);
    for (const TCrtc& crtc : known)
      if (crtc.Id == state.Crtc) output.Rect = crtc.Rect;
    output.Description = JoinNames(names);
    output.Edid = DrmConnectorEdid(DrmFolder, output.Name);
    outputs.push_back(output);
    crtcs.push_back(state);
  }
  sd.ExitContainer(reply);
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

bool TGnomeDisplays::RefreshSerial() {
  // The CRTCs may have moved between outputs: the ids follow the connectors,
  // what was learnt about each output stays.
  std::vector<TWaylandOutput> outputs;
  std::vector<TCrtcState> crtcs;
  if (!AskResources(outputs, crtcs).empty()) return false;
  for (size_t i = 0; i < Outputs.size(); ++i)
    for (size_t j = 0; j < outputs.size(); ++j)
      if (outputs[j].Name == Outputs[i].Name && crtcs[j].Crtc != crtcs_[i].Crtc) {
        crtcs_[i].Crtc = crtcs[j].Crtc;
        crtcs_[i].GammaSize = -1;
      }
  return true;
}

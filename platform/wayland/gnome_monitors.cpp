#include "platform/wayland/gnome_monitors.h"

#include "platform/wayland/mutter_names.h"
#include "platform/wayland/mutter_properties.h"
#include "platform/wayland/sd_bus_library.h"

namespace {

// GetCurrentState's layout modes: in the logical one a monitor covers its
// mode's size divided by its scale.
constexpr uint32_t LogicalLayout = 1;

struct TMode {
  int32_t Width = 0, Height = 0;
};

// The monitor's current mode; none when it is switched off.
TMode ReadCurrentMode(const TSdBusLibrary& sd, sd_bus_message* reply) {
  TMode current;
  sd.EnterContainer(reply, 'a', "(siiddada{sv})");
  while (sd.EnterContainer(reply, 'r', "siiddada{sv}") > 0) {
    const char* id = nullptr;
    TMode mode;
    double refresh = 0, preferredScale = 0;
    sd.Read(reply, "siidd", &id, &mode.Width, &mode.Height, &refresh, &preferredScale);
    sd.Skip(reply, "ad");
    ReadProperties(sd, reply, [&](const std::string& key, const std::string& type) {
      if (key != "is-current" || type != "b") return false;
      int isCurrent = 0;
      sd.Read(reply, "v", "b", &isCurrent);
      if (isCurrent != 0) current = mode;
      return true;
    });
    sd.ExitContainer(reply);
  }
  sd.ExitContainer(reply);
  return current;
}

std::string String(const char* text) { return text != nullptr ? text : ""; }

}  // namespace

TKeyedText AskCurrentMonitors(const TSdBusLibrary& sd, sd_bus* bus, uint32_t& serial,
                              std::vector<TMutterMonitor>& monitors) {
  TSdBusCall call(sd);
  if (sd.CallMethod(bus, MutterDisplayConfigService, MutterDisplayConfigPath, MutterDisplayConfigInterface,
                    "GetCurrentState", &call.Error, &call.Reply, "") < 0)
    return {"MGnomeNoDescription", String(call.Error.message)};
  sd_bus_message* reply = call.Reply;
  sd.Read(reply, "u", &serial);

  std::vector<TMutterMonitor> known;
  std::vector<TMode> modes;
  sd.EnterContainer(reply, 'a', "((ssss)a(siiddada{sv})a{sv})");
  while (sd.EnterContainer(reply, 'r', "(ssss)a(siiddada{sv})a{sv}") > 0) {
    const char *connector = nullptr, *vendor = nullptr, *product = nullptr, *serialText = nullptr;
    sd.Read(reply, "(ssss)", &connector, &vendor, &product, &serialText);
    known.push_back({String(connector), String(vendor), String(product), String(serialText), {}, false});
    modes.push_back(ReadCurrentMode(sd, reply));
    sd.Skip(reply, "a{sv}");
    sd.ExitContainer(reply);
  }
  sd.ExitContainer(reply);

  struct TLogical {
    int32_t X = 0, Y = 0;
    double Scale = 1;
    uint32_t Transform = 0;
    bool Primary = false;
    std::vector<std::string> Connectors;
  };
  std::vector<TLogical> logicals;
  sd.EnterContainer(reply, 'a', "(iiduba(ssss)a{sv})");
  while (sd.EnterContainer(reply, 'r', "iiduba(ssss)a{sv}") > 0) {
    TLogical logical;
    int primary = 0;
    sd.Read(reply, "iidub", &logical.X, &logical.Y, &logical.Scale, &logical.Transform, &primary);
    logical.Primary = primary != 0;
    sd.EnterContainer(reply, 'a', "(ssss)");
    const char *connector = nullptr, *vendor = nullptr, *product = nullptr, *serialText = nullptr;
    while (sd.Read(reply, "(ssss)", &connector, &vendor, &product, &serialText) > 0)
      logical.Connectors.push_back(String(connector));
    sd.ExitContainer(reply);
    sd.Skip(reply, "a{sv}");
    sd.ExitContainer(reply);
    logicals.push_back(logical);
  }
  sd.ExitContainer(reply);

  uint32_t layout = LogicalLayout;
  ReadProperties(sd, reply, [&](const std::string& key, const std::string& type) {
    if (key != "layout-mode" || type != "u") return false;
    sd.Read(reply, "v", "u", &layout);
    return true;
  });

  // A monitor in no logical monitor is connected but switched off.
  monitors.clear();
  for (size_t i = 0; i < known.size(); ++i)
    for (const TLogical& logical : logicals)
      for (const std::string& connector : logical.Connectors) {
        if (connector != known[i].Connector) continue;
        TMutterMonitor monitor = known[i];
        // Odd transforms turn the monitor a quarter.
        const bool turned = logical.Transform % 2 == 1;
        double width = turned ? modes[i].Height : modes[i].Width;
        double height = turned ? modes[i].Width : modes[i].Height;
        if (layout == LogicalLayout && logical.Scale > 0) {
          width /= logical.Scale;
          height /= logical.Scale;
        }
        monitor.Rect = {logical.X, logical.Y, logical.X + static_cast<int32_t>(width + 0.5),
                        logical.Y + static_cast<int32_t>(height + 0.5)};
        monitor.Primary = logical.Primary;
        monitors.push_back(monitor);
      }
  return {};
}

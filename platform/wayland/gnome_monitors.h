// The monitors that a GNOME session shows, as Mutter's GetCurrentState
// describes them: every monitor in a logical monitor, virtual and remote ones
// included, which GetResources may not list at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/wayland/backend_reasons.h"
#include "ramp/records.h"

struct sd_bus;
struct TSdBusLibrary;

struct TMutterMonitor {
  std::string Connector;
  std::string Vendor, Product, Serial;
  TRect Rect;  // the logical monitor's, in the desktop's coordinates
  bool Primary = false;
};

// The monitors in use, in Mutter's order, and the serial of the
// configuration they belong to; the reason when Mutter does not answer.
TKeyedText AskCurrentMonitors(const TSdBusLibrary& sd, sd_bus* bus, uint32_t& serial,
                               std::vector<TMutterMonitor>& monitors);

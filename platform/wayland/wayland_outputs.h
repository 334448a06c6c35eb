// The outputs that the Wayland compositor announces (wl_output, names and
// descriptions from version 4, or from xdg-output where the outputs are
// older), read through libwayland-client opened with dlopen: the X11 path of
// tonemark never binds it.
#pragma once

#include <string>
#include <vector>

#include "platform/wayland/output_displays.h"

// The outputs in the order the compositor announced them, their EDIDs not
// yet read; in `problemKey` the key of the sentence saying why, when the
// compositor cannot be reached.
std::vector<TWaylandOutput> ListWaylandOutputs(std::string& problemKey);

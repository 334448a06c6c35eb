// Hyprland (0.55 and later) loads an output's colour profile, 'vcgt'
// included, itself when its monitor rule names one ("icc"), and then refuses
// wlr gamma control on that output. No interface tells a client whether it
// does: the rules in the user's hyprland.conf are read (the file itself, not
// the files it sources), and otherwise a refusal under Hyprland names both
// possible causes.
#pragma once

#include <string>

// The reason to give for a refused control of `output`; empty outside
// Hyprland.
std::string HyprlandRefusalReason(const std::string& output);

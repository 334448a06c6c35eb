// The XDG base folders that stand for the Windows special folders, without a
// trailing "/"; empty when neither the variable nor a home folder is known.
#pragma once

#include <string>

std::string WithoutTrailingSlashes(std::string path);
// $XDG_CONFIG_HOME, by default ~/.config.
std::string XdgConfigHome();
// $XDG_DATA_HOME, by default ~/.local/share.
std::string XdgDataHome();

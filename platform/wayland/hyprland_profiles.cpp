#include "platform/wayland/hyprland_profiles.h"

#include <cstdlib>
#include <fstream>

#include "lang/multilang.h"

namespace {

constexpr const char* HyprlandVariable = "HYPRLAND_INSTANCE_SIGNATURE";

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  const size_t last = text.find_last_not_of(" \t\r");
  return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

std::string ConfigPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (config != nullptr && *config != '\0') return std::string(config) + "/hypr/hyprland.conf";
  return home != nullptr ? std::string(home) + "/.config/hypr/hyprland.conf" : "";
}

// A rule "monitor = DP-1, …, icc, FILE" or a block "monitorv2 { output =
// DP-1 … icc = FILE }" for the output.
bool RuleLoadsProfile(const std::string& output) {
  std::ifstream config(ConfigPath());
  bool inBlock = false, blockIsOutput = false, blockHasIcc = false;
  for (std::string line; std::getline(config, line);) {
    line = Trimmed(line.substr(0, line.find('#')));
    const size_t equals = line.find('=');
    const std::string key = Trimmed(line.substr(0, equals));
    const std::string value = equals == std::string::npos ? "" : Trimmed(line.substr(equals + 1));
    if (key == "monitor" && value.rfind(output + ",", 0) == 0 && value.find("icc") != std::string::npos) return true;
    if (line.rfind("monitorv2", 0) == 0) inBlock = true, blockIsOutput = blockHasIcc = false;
    if (!inBlock) continue;
    if (key == "output" && value == output) blockIsOutput = true;
    if (key == "icc" && !value.empty()) blockHasIcc = true;
    if (line.find('}') != std::string::npos) {
      if (blockIsOutput && blockHasIcc) return true;
      inBlock = false;
    }
  }
  return false;
}

}  // namespace

std::string HyprlandRefusalReason(const std::string& output) {
  if (std::getenv(HyprlandVariable) == nullptr) return "";
  if (RuleLoadsProfile(output))
    return Translate("MHyprlandLoadsProfile");
  return Translate("MHyprlandRefusesControl");
}

#include "platform/sim/sim_config.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>

namespace {

using TSection = std::map<std::string, std::string>;  // lower-case key -> value

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

std::map<std::string, TSection> ReadSections(std::istream& in) {
  std::map<std::string, TSection> sections;
  TSection* section = nullptr;
  for (std::string line; std::getline(in, line);) {
    line = Trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = &sections[Lower(Trim(line.substr(1, line.size() - 2)))];
      continue;
    }
    const size_t equals = line.find('=');
    if (section == nullptr || equals == std::string::npos) continue;
    section->emplace(Lower(Trim(line.substr(0, equals))), Trim(line.substr(equals + 1)));
  }
  return sections;
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  for (std::string part; std::getline(stream, part, ',');) parts.push_back(Trim(part));
  return parts;
}

bool ParseInt(const std::string& text, int32_t& value) {
  try {
    size_t used = 0;
    const long parsed = std::stol(text, &used);
    if (used != text.size() || parsed < std::numeric_limits<int32_t>::min() ||
        parsed > std::numeric_limits<int32_t>::max())
      return false;
    value = static_cast<int32_t>(parsed);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// Malformed values keep the default, as a missing key does.
void ApplyRect(const std::string& text, TRect& rect) {
  const std::vector<std::string> parts = SplitCommas(text);
  TRect parsed;
  if (parts.size() == 4 && ParseInt(parts[0], parsed.Left) && ParseInt(parts[1], parsed.Top) &&
      ParseInt(parts[2], parsed.Right) && ParseInt(parts[3], parsed.Bottom))
    rect = parsed;
}

void ApplyDpi(const std::string& text, int32_t& dpi) {
  int32_t parsed = 0;
  if (ParseInt(text, parsed) && parsed > 0) dpi = parsed;
}

void ApplyBits(const std::string& text, int32_t& bits) {
  int32_t parsed = 0;
  if (ParseInt(text, parsed) && parsed >= 1 && parsed <= 16) bits = parsed;
}

void ApplyFailures(const std::string& text, TSimMonitor& monitor) {
  for (const std::string& part : SplitCommas(text)) {
    const std::string failure = Lower(part);
    if (failure == "info") monitor.FailInfo = true;
    else if (failure == "dc") monitor.FailDisplayHandle = true;
    else if (failure == "get") monitor.FailGet = true;
    else if (failure == "set") monitor.FailSet = true;
    else if (failure == "ignore") monitor.IgnoreSet = true;
    else if (failure == "live") monitor.NoLiveRamp = true;
  }
}

TSimMonitor MonitorFromSection(int32_t number, const TSection& section) {
  TSimMonitor monitor;
  monitor.Number = number;
  monitor.DeviceName = "\\\\.\\DISPLAY" + std::to_string(number);
  for (const auto& [key, value] : section) {
    if (key == "rect") ApplyRect(value, monitor.Rect);
    else if (key == "dpi") ApplyDpi(value, monitor.Dpi);
    else if (key == "devicename") monitor.DeviceName = value;
    else if (key == "devicestring") monitor.DeviceString = value;
    else if (key == "deviceid") monitor.DeviceID = value;
    else if (key == "edid") monitor.Edid = value;
    else if (key == "fail") ApplyFailures(value, monitor);
    else if (key == "bits") ApplyBits(value, monitor.Bits);
  }
  return monitor;
}

}  // namespace

std::vector<TSimMonitor> ReadSimMonitors(const std::filesystem::path& iniFile) {
  std::ifstream in(iniFile, std::ios::binary);
  return SimMonitorsFrom(in);
}

std::vector<TSimMonitor> SimMonitorsFrom(std::istream& in) {
  const std::map<std::string, TSection> sections = ReadSections(in);
  std::vector<TSimMonitor> monitors;
  for (int32_t number = 1;; ++number) {
    const auto found = sections.find("monitor" + std::to_string(number));
    if (found == sections.end()) break;
    monitors.push_back(MonitorFromSection(number, found->second));
  }
  return monitors;
}

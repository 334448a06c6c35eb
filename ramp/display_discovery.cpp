#include "ramp/display_discovery.h"

#include <algorithm>

#include "ramp/displays_port.h"
#include "ramp/messages_port.h"
#include "ramp/monitor_identity.h"

namespace {

std::string DisplayName(int32_t number, const std::string& description) {
  return std::to_string(number) + ": " + description;
}

// A backslash at or after `from`, never the ID's last character.
size_t FindBackslashBeforeLast(const std::string& id, size_t from) {
  if (id.size() < 2) return std::string::npos;
  const size_t found = id.find('\\', from);
  return found < id.size() - 1 ? found : std::string::npos;
}

}  // namespace

std::string DeviceModelCode(const std::string& deviceId) {
  const size_t first = FindBackslashBeforeLast(deviceId, 0);
  const size_t start = first == std::string::npos ? 0 : first + 1;
  const size_t second = FindBackslashBeforeLast(deviceId, start);
  if (second == std::string::npos) return TrimText(deviceId);
  return TrimText(deviceId.substr(start, second - start));
}

void EnumerateDisplays() {
  Displays.clear();
  Curves.clear();
  DisplayCount = 0;
  DisplaysPort().EnumMonitors(AddMonitor);
}

bool AddMonitor(TMonitorHandle monitor) {
  TDisplaysPort& port = DisplaysPort();
  ++DisplayCount;
  Displays.resize(DisplayCount);
  TDisplay& display = Displays.back();
  display = TDisplay{};
  display.Monitor = monitor;

  if (!port.QueryMonitorInfo(monitor, display.MonitorInfo)) {
    display.MonitorInfo = TMonitorInfo{};
    MessagesPort().ShowMessage(ErrorCaption, port.LastErrorMessage());
  }
  display.DC = port.CreateDisplayHandle(monitor, display.MonitorInfo.DeviceName);
  if (display.DC == nullptr) {
    --DisplayCount;
    Displays.resize(DisplayCount);
    return true;
  }
  if (!port.QueryDisplayDevice(display.MonitorInfo.DeviceName, display.Device))
    display.Device = TDisplayDevice{};

  display.Description = TrimText(display.Device.DeviceString);
  // A monitor that the system does not describe (a virtual output) is named
  // by its output, rather than by its number alone.
  if (display.Description.empty()) display.Description = TrimText(display.MonitorInfo.DeviceName);
  display.Name = DisplayName(DisplayCount, display.Description);
  display.Edid.fill(0);

  const std::string modelCode = DeviceModelCode(display.Device.DeviceID);
  if (!modelCode.empty()) {
    display.Description = modelCode;
    display.Name = DisplayName(DisplayCount, display.Description);
    if (ReadEdid(modelCode, display.Edid)) {
      const std::string fromEdid = EdidDescription(display.Edid);
      if (!fromEdid.empty()) {
        display.Description = fromEdid;
        display.Name = DisplayName(DisplayCount, display.Description);
      }
    }
  }

  TMonitorFacts facts;
  if (!port.MonitorFacts(monitor, display.MonitorInfo.DeviceName, facts))
    facts = MonitorFactsFromEdid({display.Edid.begin(), display.Edid.end()}, display.MonitorInfo.DeviceName);
  display.Identity = MonitorIdentity(facts);

  Curves.resize(DisplayCount);
  Curves.back() = TRampCurve{};
  return true;
}

bool ReadEdid(const std::string& modelCode, TEdid& buffer) {
  const std::optional<std::vector<uint8_t>> edid = DisplaysPort().ReadEdidOfModel(modelCode);
  if (!edid) return false;
  std::copy_n(edid->begin(), std::min<size_t>(edid->size(), buffer.size()), buffer.begin());
  return true;
}

void ReleaseDisplays() {
  for (int32_t i = 0; i < DisplayCount; ++i) DisplaysPort().ReleaseDisplayHandle(Displays[i].DC);
  Displays.clear();
  Curves.clear();
  SavedRamps.clear();
  DisplayCount = 0;
}

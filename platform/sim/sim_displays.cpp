#include "platform/sim/sim_displays.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/sim/sim_ramp_file.h"
#include "ramp/atomic_file.h"
#include "ramp/display_discovery.h"
#include "ramp/file_error.h"

namespace {

constexpr uint32_t PrimaryMonitorFlag = 1;
// What the system says when it is asked about a monitor it does not know.
constexpr const char* InvalidMonitorMessage = "Invalid monitor handle.";

// Handles carry the monitor's number; 0 stays the null handle.
void* HandleOf(const TSimMonitor& monitor) {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(monitor.Number));
}

void IdentityRamp(TGammaRamp& ramp) {
  for (int channel = 0; channel < 3; ++channel)
    for (int level = 0; level < LevelCount; ++level)
      ramp[channel * LevelCount + level] = static_cast<uint16_t>(level * 257);
}

}  // namespace

TSimDisplays::TSimDisplays(std::filesystem::path folder, bool realtime)
    : folder_(std::move(folder)), realtime_(realtime) {}

const TSimMonitor* TSimDisplays::MonitorOf(void* handle) const {
  const uintptr_t number = reinterpret_cast<uintptr_t>(handle);
  if (number < 1 || number > monitors_.size()) return nullptr;
  return &monitors_[number - 1];
}

std::filesystem::path TSimDisplays::RampFile(const TSimMonitor& monitor) const {
  return folder_ / ("ramp" + std::to_string(monitor.Number) + ".txt");
}

void TSimDisplays::Log(const std::string& line) const {
  std::ofstream(folder_ / "log.txt", std::ios::binary | std::ios::app) << line << '\n';
}

void TSimDisplays::EnumMonitors(const std::function<bool(TMonitorHandle)>& addMonitor) {
  monitors_ = ReadSimMonitors(folder_ / "displays.ini");
  for (const TSimMonitor& monitor : monitors_)
    if (!addMonitor(HandleOf(monitor))) break;
}

bool TSimDisplays::QueryMonitorInfo(TMonitorHandle handle, TMonitorInfo& info) {
  const TSimMonitor* monitor = MonitorOf(handle);
  if (monitor == nullptr || monitor->FailInfo) return false;
  info.Monitor = monitor->Rect;
  info.Work = monitor->Rect;
  info.Flags = monitor->Number == 1 ? PrimaryMonitorFlag : 0;
  info.DeviceName = monitor->DeviceName;
  return true;
}

std::string TSimDisplays::LastErrorMessage() { return InvalidMonitorMessage; }

int32_t TSimDisplays::MonitorDpi(TMonitorHandle handle) {
  const TSimMonitor* monitor = MonitorOf(handle);
  return monitor != nullptr ? monitor->Dpi : TSimMonitor{}.Dpi;
}

bool TSimDisplays::QueryDisplayDevice(const std::string& deviceName, TDisplayDevice& device) {
  for (const TSimMonitor& monitor : monitors_)
    if (monitor.DeviceName == deviceName) {
      device.DeviceString = monitor.DeviceString;
      device.DeviceID = monitor.DeviceID;
      return true;
    }
  return false;
}

TDisplayHandle TSimDisplays::CreateDisplayHandle(TMonitorHandle handle, const std::string&) {
  const TSimMonitor* monitor = MonitorOf(handle);
  if (monitor == nullptr || monitor->FailDisplayHandle) return nullptr;
  return HandleOf(*monitor);
}

void TSimDisplays::ReleaseDisplayHandle(TDisplayHandle) {}

bool TSimDisplays::GetRamp(TDisplayHandle display, TGammaRamp& ramp) {
  const TSimMonitor* monitor = MonitorOf(display);
  if (monitor == nullptr) return false;
  const std::string prefix = "get " + std::to_string(monitor->Number);
  TGammaRamp present;
  bool ok = !monitor->FailGet;
  if (ok) {
    std::error_code error;
    if (std::filesystem::exists(RampFile(*monitor), error)) ok = ReadRampFile(RampFile(*monitor), present);
    else IdentityRamp(present);
  }
  Log(prefix + (ok ? " ok" : " fail"));
  if (ok) ramp = present;
  return ok;
}

bool TSimDisplays::SetRamp(TDisplayHandle display, const TGammaRamp& ramp) {
  const TSimMonitor* monitor = MonitorOf(display);
  if (monitor == nullptr) return false;
  bool accepted = !monitor->FailSet && !monitor->NoLiveRamp;
  if (accepted && !monitor->IgnoreSet) {
    try {
      WriteFileAtomically(RampFile(*monitor).string(), RampFileText(ramp));
    } catch (const TFileError&) {
      accepted = false;
    }
  }
  Log("set " + std::to_string(monitor->Number) + (accepted ? " ok " : " refused ") +
      RampValues(ramp));
  return accepted;
}

std::string TSimDisplays::RampRefusal(TDisplayHandle display) {
  const TSimMonitor* monitor = MonitorOf(display);
  return monitor != nullptr && monitor->NoLiveRamp ? SimNoLiveRampReason : "";
}

void TSimDisplays::Wait(int32_t milliseconds) {
  Log("wait " + std::to_string(milliseconds));
  if (realtime_) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::optional<std::vector<uint8_t>> TSimDisplays::ReadEdidOfModel(const std::string& modelCode) {
  // Like the system's store of EDIDs: every monitor of the model is an
  // instance, and the first with a readable EDID answers.
  for (const TSimMonitor& monitor : monitors_) {
    if (monitor.Edid.empty() || DeviceModelCode(monitor.DeviceID) != modelCode) continue;
    std::ifstream in(folder_ / monitor.Edid, std::ios::binary);
    if (!in) continue;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (!bytes.empty()) return bytes;
  }
  return std::nullopt;
}

bool TSimDisplays::MonitorFacts(TMonitorHandle handle, const std::string& deviceName, TMonitorFacts& facts) {
  // The Edid= file is this monitor's own, whatever other monitors of its model hold.
  const TSimMonitor* monitor = MonitorOf(handle);
  if (monitor == nullptr || monitor->Edid.empty()) return false;
  std::ifstream in(folder_ / monitor->Edid, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  facts = MonitorFactsFromEdid(bytes, deviceName);
  return true;
}

bool SimulatedDisplaysRequested() {
  const char* folder = std::getenv(SimFolderVariable);
  return folder != nullptr && *folder != '\0';
}

std::unique_ptr<TSimDisplays> SimDisplaysFromEnvironment() {
  if (!SimulatedDisplaysRequested()) return nullptr;
  const char* realtime = std::getenv(SimRealtimeVariable);
  return std::make_unique<TSimDisplays>(std::getenv(SimFolderVariable),
                                        realtime != nullptr && std::string(realtime) == "1");
}

#include "platform/wayland/output_displays.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <thread>

#include "platform/wayland/wayland_outputs.h"
#include "ramp/edid.h"

namespace {

constexpr uint32_t PrimaryMonitorFlag = 1;
constexpr int32_t DefaultDpi = 96;
constexpr const char* DrmCardPrefix = "card";

std::string ModelCodeOf(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return "";
  TEdid edid{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), edid.size()), edid.begin());
  return EdidModelCode(edid);
}

}  // namespace

std::vector<uint8_t> DrmConnectorEdid(const std::string& drmFolder, const std::string& connector) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(drmFolder, error)) {
    // "card1-DP-1": the card's number, a dash, the connector.
    const std::string name = entry.path().filename().string();
    const size_t dash = name.find('-');
    if (!name.starts_with(DrmCardPrefix) || dash == std::string::npos || name.substr(dash + 1) != connector)
      continue;
    std::ifstream in(entry.path() / "edid", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!bytes.empty()) return bytes;
  }
  return {};
}

TOutputDisplays::TOutputDisplays(std::string label, std::string drmFolder)
    : DrmFolder(std::move(drmFolder)), label_(std::move(label)) {}

TWaylandOutput* TOutputDisplays::OutputOf(void* handle) {
  const size_t index = IndexOf(handle);
  return handle != nullptr && index < Outputs.size() ? &Outputs[index] : nullptr;
}

TKeyedText TOutputDisplays::ReadCompositorOutputs() {
  std::string problem;
  Outputs = ListWaylandOutputs(problem);
  for (TWaylandOutput& output : Outputs) output.Edid = DrmConnectorEdid(DrmFolder, output.Name);
  if (!Outputs.empty()) Outputs.front().Primary = true;
  return {problem};
}

void TOutputDisplays::EnumMonitors(const std::function<bool(TMonitorHandle)>& addMonitor) {
  discoveryProblem_ = ReadOutputs();
  monitorsUnknown_ = !discoveryProblem_.Empty() && Outputs.empty();
  for (size_t i = 0; i < Outputs.size(); ++i)
    if (!addMonitor(HandleOf(i))) break;
}

bool TOutputDisplays::QueryMonitorInfo(TMonitorHandle monitor, TMonitorInfo& info) {
  const TWaylandOutput* output = OutputOf(monitor);
  if (output == nullptr) {
    lastError_ = "Invalid monitor handle.";
    return false;
  }
  info.Monitor = output->Rect;
  info.Work = output->Rect;
  info.Flags = output->Primary ? PrimaryMonitorFlag : 0;
  info.DeviceName = output->Name;
  return true;
}

std::string TOutputDisplays::LastErrorMessage() { return lastError_; }

int32_t TOutputDisplays::MonitorDpi(TMonitorHandle) { return DefaultDpi; }

bool TOutputDisplays::QueryDisplayDevice(const std::string& deviceName, TDisplayDevice& device) {
  for (const TWaylandOutput& output : Outputs) {
    if (output.Name != deviceName) continue;
    // Without a description, discovery names the display by its connector.
    device.DeviceString = output.Description;
    const std::string model = ModelCodeOf(output.Edid);
    device.DeviceID = model.empty() ? "" : "MONITOR\\" + model + "\\" + output.Name;
    return true;
  }
  return false;
}

bool TOutputDisplays::MonitorFacts(TMonitorHandle monitor, const std::string& deviceName, TMonitorFacts& facts) {
  const TWaylandOutput* output = OutputOf(monitor);
  if (output == nullptr) return false;
  facts = MonitorFactsFromEdid(output->Edid, deviceName);
  // Without an EDID from the kernel, what the desktop says of the monitor.
  if (facts.Model.empty() && !output->Vendor.empty()) {
    facts.Model = output->Vendor + output->Product;
    facts.SerialText = output->Serial;
  }
  return true;
}

TDisplayHandle TOutputDisplays::CreateDisplayHandle(TMonitorHandle monitor, const std::string&) {
  return OutputOf(monitor) != nullptr ? monitor : nullptr;
}

void TOutputDisplays::ReleaseDisplayHandle(TDisplayHandle) {}

void TOutputDisplays::Wait(int32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::optional<std::vector<uint8_t>> TOutputDisplays::ReadEdidOfModel(const std::string& modelCode) {
  for (const TWaylandOutput& output : Outputs)
    if (!output.Edid.empty() && ModelCodeOf(output.Edid) == modelCode) return output.Edid;
  return std::nullopt;
}

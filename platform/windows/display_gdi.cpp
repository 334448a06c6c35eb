#include "platform/windows/display_gdi.h"

#include <windows.h>
#include <shellscalingapi.h>

#include "lang/multilang.h"
#include "platform/windows/display_registry.h"
#include "platform/windows/display_gamma_range.h"
#include "ramp/display_discovery.h"

namespace {
constexpr int32_t DefaultDpi = 96;
constexpr const char* DisplayDriver = "DISPLAY";

TRect RectOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

int SystemGetGammaRamp(void* dc, void* ramp) { return GetDeviceGammaRamp(static_cast<HDC>(dc), ramp); }
int SystemSetGammaRamp(void* dc, void* ramp) { return SetDeviceGammaRamp(static_cast<HDC>(dc), ramp); }

BOOL CALLBACK AddEnumeratedMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM addMonitor) {
  return (*reinterpret_cast<const std::function<bool(TMonitorHandle)>*>(addMonitor))(monitor);
}

// The system's text for an error code, without the line break it ends with.
std::string SystemMessage(DWORD error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = length > 0 ? std::string(text, length) : "System error " + std::to_string(error) + ".";
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message;
}
}  // namespace

TGdiDisplays::TGdiDisplays()
    : GetGammaRamp(SystemGetGammaRamp),
      SetGammaRamp(SystemSetGammaRamp),
      AdvancedColor(SystemAdvancedColor),
      GammaRange(SystemGammaRange) {}

void TGdiDisplays::EnumMonitors(const std::function<bool(TMonitorHandle)>& addMonitor) {
  EnumDisplayMonitors(nullptr, nullptr, AddEnumeratedMonitor,
                      reinterpret_cast<LPARAM>(&addMonitor));
}

bool TGdiDisplays::QueryMonitorInfo(TMonitorHandle monitor, TMonitorInfo& info) {
  MONITORINFOEXA system{};
  system.cbSize = sizeof(system);
  if (!GetMonitorInfoA(static_cast<HMONITOR>(monitor), &system)) {
    monitorInfoError_ = GetLastError();
    return false;
  }
  info.Monitor = RectOf(system.rcMonitor);
  info.Work = RectOf(system.rcWork);
  info.Flags = system.dwFlags;
  info.DeviceName = system.szDevice;
  return true;
}

std::string TGdiDisplays::LastErrorMessage() { return SystemMessage(monitorInfoError_); }

int32_t TGdiDisplays::MonitorDpi(TMonitorHandle monitor) {
  UINT dpiX = 0, dpiY = 0;
  if (FAILED(GetDpiForMonitor(static_cast<HMONITOR>(monitor), MDT_EFFECTIVE_DPI, &dpiX, &dpiY)) ||
      dpiX == 0)
    return DefaultDpi;
  return static_cast<int32_t>(dpiX);
}

bool TGdiDisplays::QueryDisplayDevice(const std::string& deviceName, TDisplayDevice& device) {
  DISPLAY_DEVICEA system{};
  system.cb = sizeof(system);
  // Device 0 of an output is the first monitor attached to it.
  if (!EnumDisplayDevicesA(deviceName.c_str(), 0, &system, 0)) return false;
  device.DeviceString = system.DeviceString;
  device.DeviceID = system.DeviceID;
  return true;
}

TDisplayHandle TGdiDisplays::CreateDisplayHandle(TMonitorHandle, const std::string& deviceName) {
  const TDisplayHandle display = CreateDCA(DisplayDriver, deviceName.c_str(), nullptr, nullptr);
  if (display != nullptr) advancedColor_[display] = AdvancedColor(deviceName);
  return display;
}

void TGdiDisplays::ReleaseDisplayHandle(TDisplayHandle display) {
  advancedColor_.erase(display);
  if (display != nullptr) DeleteDC(static_cast<HDC>(display));
}

bool TGdiDisplays::TakesNoRamp(TDisplayHandle display) const {
  const auto found = advancedColor_.find(display);
  return found != advancedColor_.end() &&
         (found->second == TAdvancedColor::Hdr || found->second == TAdvancedColor::WideColor);
}

bool TGdiDisplays::GetRamp(TDisplayHandle display, TGammaRamp& ramp) {
  // TGammaRamp has the layout GDI takes: red, green, blue, 256 words each.
  return !TakesNoRamp(display) && GetGammaRamp(display, ramp.data()) != 0;
}

bool TGdiDisplays::SetRamp(TDisplayHandle display, const TGammaRamp& ramp) {
  return !TakesNoRamp(display) && SetGammaRamp(display, const_cast<uint16_t*>(ramp.data())) != 0;
}

std::string TGdiDisplays::RampRefusal(TDisplayHandle display) {
  const auto found = advancedColor_.find(display);
  if (found == advancedColor_.end()) return "";
  if (found->second == TAdvancedColor::Hdr) return Translate("MHdrMode");
  if (found->second == TAdvancedColor::WideColor) return Translate("MWideColorMode");
  return "";
}

std::string TGdiDisplays::RampRefusalCause(TDisplayHandle display) {
  if (TakesNoRamp(display)) return "";
  return GammaRangeAdvice(GammaRange());
}

std::string TGdiDisplays::RampDoubt(TDisplayHandle display) {
  const auto found = advancedColor_.find(display);
  return found != advancedColor_.end() && found->second == TAdvancedColor::Unknown
             ? Translate("MAdvancedColorUnknown")
             : "";
}

void TGdiDisplays::Wait(int32_t milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

std::optional<std::vector<uint8_t>> TGdiDisplays::ReadEdidOfModel(const std::string& modelCode) {
  return ReadRegistryEdid(modelCode);
}

bool TGdiDisplays::MonitorFacts(TMonitorHandle, const std::string& deviceName, TMonitorFacts& facts) {
  TDisplayDevice device;
  if (!QueryDisplayDevice(deviceName, device)) return false;
  // "MONITOR\<model>\<driver key>": the instance holding this monitor's EDID names the same driver key.
  const std::string model = DeviceModelCode(device.DeviceID);
  const size_t at = device.DeviceID.find(model + "\\");
  if (model.empty() || at == std::string::npos) return false;
  const std::optional<std::vector<uint8_t>> edid =
      ReadRegistryEdidOfDriver(model, device.DeviceID.substr(at + model.size() + 1));
  if (!edid) return false;
  facts = MonitorFactsFromEdid(*edid, deviceName);
  return true;
}

#include "platform/linux/randr_displays.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/linux/randr_errors.h"
#include "ramp/display_discovery.h"
#include "ramp/edid.h"

namespace {

constexpr uint32_t PrimaryMonitorFlag = 1;
constexpr int32_t DefaultDpi = 96;
constexpr const char* DeviceString = "Generic PnP Monitor";
// Room for a base block and three extension blocks, in 32-bit units.
constexpr long EdidPropertyLongs = 128;

// Handles carry the index into the output list plus one; 0 stays null.
void* HandleOf(size_t index) { return reinterpret_cast<void*>(static_cast<uintptr_t>(index + 1)); }

// "Xft.dpi" of the server's resource database, which desktops set to their
// scaling; 0 when the desktop has not set it.
int32_t ResourceDpi(Display* display) {
  const char* resources = XResourceManagerString(display);
  if (resources == nullptr) return 0;
  XrmDatabase database = XrmGetStringDatabase(resources);
  char* type = nullptr;
  XrmValue value{};
  int32_t dpi = 0;
  if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr != nullptr) {
    const int parsed = std::atoi(value.addr);
    if (parsed > 0) dpi = parsed;
  }
  XrmDestroyDatabase(database);
  return dpi;
}

// The model code of an EDID as the output's property holds it, or empty.
std::string ModelCodeOf(const std::vector<uint8_t>& bytes) {
  TEdid edid{};
  std::copy_n(bytes.begin(), std::min(bytes.size(), edid.size()), edid.begin());
  return bytes.empty() ? "" : EdidModelCode(edid);
}

}  // namespace

int32_t DpiFromPhysicalSize(int32_t widthPixels, uint32_t widthMm) {
  constexpr uint32_t SmallestMonitorMm = 100;
  constexpr int32_t Step = DefaultDpi / 4;
  constexpr int32_t LargestDpi = 3 * DefaultDpi;
  if (widthMm < SmallestMonitorMm || widthPixels <= 0) return DefaultDpi;
  const double dpi = widthPixels * 25.4 / widthMm;
  const int32_t stepped = static_cast<int32_t>(dpi / Step + 0.5) * Step;
  return std::clamp(stepped, DefaultDpi, LargestDpi);
}

void MergeMirroredOutputs(std::vector<TRandrOutput>& outputs) {
  constexpr const char* NameJoint = "+";
  for (size_t first = 0; first < outputs.size(); ++first) {
    if (!outputs[first].Monitor) continue;
    for (size_t later = first + 1; later < outputs.size(); ++later) {
      TRandrOutput& mirror = outputs[later];
      if (!mirror.Monitor || mirror.Crtc != outputs[first].Crtc) continue;
      outputs[first].Name += NameJoint + mirror.Name;
      outputs[first].Mirrors.push_back(mirror.Output);
      outputs[first].Primary = outputs[first].Primary || mirror.Primary;
      mirror.Monitor = false;
      mirror.Primary = false;
    }
  }
}

TRandrDisplays::TRandrDisplays(const char* displayName) {
  XrmInitialize();
  InstallXErrorTrap();
  // Ramps need no keyboard: skipping the keyboard extension's set-up saves
  // two round trips on every start. Later connections (a window's) get it.
  XkbIgnoreExtension(True);
  display_ = XOpenDisplay(displayName);
  XkbIgnoreExtension(False);
  if (display_ == nullptr) {
    const char* name = displayName != nullptr ? displayName : std::getenv("DISPLAY");
    notOpened_ = {"MNoXDisplay", name ? name : ""};
  }
}

TRandrDisplays::~TRandrDisplays() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

TKeyedText TRandrDisplays::ReadOutputs() {
  outputs_.clear();
  if (display_ == nullptr) return notOpened_;
  int eventBase = 0, errorBase = 0;
  if (!XRRQueryExtension(display_, &eventBase, &errorBase)) return {"MNoRandr"};
  const Window root = DefaultRootWindow(display_);
  // The current configuration, without asking the hardware to probe again.
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display_, root);
  if (resources == nullptr) return {"MXServerNoOutputs"};
  const RROutput primary = XRRGetOutputPrimary(display_, root);
  edidAtom_ = XInternAtom(display_, RR_PROPERTY_RANDR_EDID, True);
  for (int i = 0; i < resources->noutput; ++i) {
    XRROutputInfo* info = XRRGetOutputInfo(display_, resources, resources->outputs[i]);
    if (info == nullptr) continue;
    TRandrOutput output;
    output.Output = resources->outputs[i];
    output.Name.assign(info->name, info->nameLen);
    output.Crtc = info->crtc;
    output.Primary = output.Output == primary;
    output.WidthMm = static_cast<uint32_t>(info->mm_width);
    if (info->connection == RR_Connected && info->crtc != None) {
      XRRCrtcInfo* crtc = XRRGetCrtcInfo(display_, resources, info->crtc);
      if (crtc != nullptr) {
        output.Monitor = true;
        output.Rect = {crtc->x, crtc->y, crtc->x + static_cast<int32_t>(crtc->width),
                       crtc->y + static_cast<int32_t>(crtc->height)};
        XRRFreeCrtcInfo(crtc);
      }
    }
    XRRFreeOutputInfo(info);
    outputs_.push_back(output);
  }
  XRRFreeScreenResources(resources);
  MergeMirroredOutputs(outputs_);
  // Without a primary output the server's first monitor is the main one.
  if (std::none_of(outputs_.begin(), outputs_.end(),
                   [](const TRandrOutput& o) { return o.Monitor && o.Primary; })) {
    const auto first = std::find_if(outputs_.begin(), outputs_.end(),
                                    [](const TRandrOutput& o) { return o.Monitor; });
    if (first != outputs_.end()) first->Primary = true;
  }
  return {};
}

TRandrOutput* TRandrDisplays::OutputOf(void* handle) {
  const uintptr_t index = reinterpret_cast<uintptr_t>(handle);
  if (index < 1 || index > outputs_.size()) return nullptr;
  return &outputs_[index - 1];
}

void TRandrDisplays::EnumMonitors(const std::function<bool(TMonitorHandle)>& addMonitor) {
  discoveryProblem_ = ReadOutputs();
  for (size_t i = 0; i < outputs_.size(); ++i)
    if (outputs_[i].Monitor && !addMonitor(HandleOf(i))) break;
}

bool TRandrDisplays::QueryMonitorInfo(TMonitorHandle monitor, TMonitorInfo& info) {
  const TRandrOutput* output = OutputOf(monitor);
  if (output == nullptr || !output->Monitor) {
    lastError_ = "Invalid monitor handle.";
    return false;
  }
  info.Monitor = output->Rect;
  info.Work = output->Rect;
  info.Flags = output->Primary ? PrimaryMonitorFlag : 0;
  info.DeviceName = output->Name;
  return true;
}

std::string TRandrDisplays::LastErrorMessage() { return lastError_; }

int32_t TRandrDisplays::MonitorDpi(TMonitorHandle monitor) {
  const int32_t desktopDpi = display_ != nullptr ? ResourceDpi(display_) : 0;
  if (desktopDpi > 0) return desktopDpi;
  const TRandrOutput* output = OutputOf(monitor);
  return output != nullptr ? DpiFromPhysicalSize(output->Rect.Right - output->Rect.Left, output->WidthMm)
                           : DefaultDpi;
}

std::vector<uint8_t> TRandrDisplays::ReadEdidProperty(unsigned long output) const {
  if (edidAtom_ == None) return {};
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  const int status = XRRGetOutputProperty(display_, output, edidAtom_, 0, EdidPropertyLongs, False,
                                          False, AnyPropertyType, &type, &format, &count,
                                          &remaining, &data);
  std::vector<uint8_t> bytes;
  if (status == Success && format == 8 && data != nullptr) bytes.assign(data, data + count);
  if (data != nullptr) XFree(data);
  return bytes;
}

// The model of the first of the CRTC's outputs that has an EDID.
std::string TRandrDisplays::DeviceIdOf(const TRandrOutput& output) const {
  std::vector<unsigned long> outputs{output.Output};
  outputs.insert(outputs.end(), output.Mirrors.begin(), output.Mirrors.end());
  for (const unsigned long id : outputs) {
    const std::string model = ModelCodeOf(ReadEdidProperty(id));
    if (!model.empty()) return "MONITOR\\" + model + "\\" + output.Name;
  }
  return "";
}

bool TRandrDisplays::MonitorFacts(TMonitorHandle monitor, const std::string& deviceName, TMonitorFacts& facts) {
  const TRandrOutput* output = OutputOf(monitor);
  if (output == nullptr) return false;
  std::vector<unsigned long> outputs{output->Output};
  outputs.insert(outputs.end(), output->Mirrors.begin(), output->Mirrors.end());
  std::vector<uint8_t> edid;
  for (size_t i = 0; i < outputs.size() && edid.empty(); ++i) edid = ReadEdidProperty(outputs[i]);
  facts = MonitorFactsFromEdid(edid, deviceName);
  return true;
}

bool TRandrDisplays::QueryDisplayDevice(const std::string& deviceName, TDisplayDevice& device) {
  for (const TRandrOutput& output : outputs_)
    if (output.Monitor && output.Name == deviceName) {
      device.DeviceString = DeviceString;
      device.DeviceID = DeviceIdOf(output);
      return true;
    }
  return false;
}

TDisplayHandle TRandrDisplays::CreateDisplayHandle(TMonitorHandle monitor, const std::string&) {
  const TRandrOutput* output = OutputOf(monitor);
  return output != nullptr && output->Monitor ? monitor : nullptr;
}

void TRandrDisplays::ReleaseDisplayHandle(TDisplayHandle) {}

void TRandrDisplays::Wait(int32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::optional<std::vector<uint8_t>> TRandrDisplays::ReadEdidOfModel(const std::string& modelCode) {
  // Every output counts, driven or not, as every instance does in a registry.
  for (const TRandrOutput& output : outputs_) {
    const std::vector<uint8_t> bytes = ReadEdidProperty(output.Output);
    if (!bytes.empty() && ModelCodeOf(bytes) == modelCode) return bytes;
  }
  return std::nullopt;
}

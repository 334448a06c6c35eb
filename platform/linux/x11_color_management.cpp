#include "platform/linux/x11_color_management.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <lcms2.h>

#include <string>
#include <vector>

namespace {

constexpr const char* ProfileProperty = "_ICC_PROFILE";
// Far more than any display profile; a property that claims more is not read.
constexpr long MaxProfileLongs = 16 * 1024 * 1024 / 4;

// The property's bytes; empty when the root window has none by that name.
std::vector<uint8_t> RootProperty(Display* display, const std::string& name) {
  if (display == nullptr) return {};
  const Atom atom = XInternAtom(display, name.c_str(), True);
  if (atom == None) return {};
  Atom type = None;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), atom, 0, MaxProfileLongs, False,
                                        AnyPropertyType, &type, &format, &count, &remaining, &data);
  std::vector<uint8_t> bytes;
  if (status == Success && format == 8 && remaining == 0 && data != nullptr) bytes.assign(data, data + count);
  if (data != nullptr) XFree(data);
  return bytes;
}

// The monitor's number among the displays, as the property names count them.
int MonitorNumber(TDisplayHandle display) {
  for (int32_t i = 0; i < DisplayCount && i < static_cast<int32_t>(Displays.size()); ++i)
    if (Displays[i].DC == display) return i;
  return -1;
}

}  // namespace

TX11ColorManagement::TX11ColorManagement(const char* displayName) {
  if (displayName != nullptr) displayName_ = displayName;
}

TX11ColorManagement::~TX11ColorManagement() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

Display* TX11ColorManagement::Connection() {
  if (!connected_) display_ = XOpenDisplay(displayName_ ? displayName_->c_str() : nullptr);
  connected_ = true;
  return display_;
}

bool TX11ColorManagement::GetDisplayProfile(TDisplayHandle display, std::string& fileName) {
  const int number = display != nullptr ? MonitorNumber(display) : -1;
  if (number < 0) return false;
  const std::string name = number == 0 ? ProfileProperty : ProfileProperty + ("_" + std::to_string(number));
  if (RootProperty(Connection(), name).empty()) return false;
  fileName = name;
  return true;
}

TColorManagement::TProfile TX11ColorManagement::OpenProfile(const std::string& fileName) {
  const std::vector<uint8_t> bytes = RootProperty(Connection(), fileName);
  if (bytes.empty()) return nullptr;
  return cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size()));
}

// Relative colorimetric is the graphics intent; a profile that is not an RGB
// display profile gives no transform.
TColorManagement::TTransform TX11ColorManagement::CreateTransformFromSrgb(TProfile profile) {
  if (profile == nullptr) return nullptr;
  cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  cmsHTRANSFORM transform = cmsCreateTransform(srgb, TYPE_RGB_8, profile, TYPE_RGB_8,
                                               INTENT_RELATIVE_COLORIMETRIC, cmsFLAGS_HIGHRESPRECALC);
  cmsCloseProfile(srgb);
  return transform;
}

void TX11ColorManagement::TranslateRow(TTransform transform, uint8_t* pixels, int32_t width) {
  cmsDoTransform(transform, pixels, pixels, static_cast<cmsUInt32Number>(width));
}

void TX11ColorManagement::DeleteTransform(TTransform transform) { cmsDeleteTransform(transform); }

void TX11ColorManagement::CloseProfile(TProfile profile) { cmsCloseProfile(profile); }

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <lcms2.h>

#include <string>
#include <vector>

#include "paint/mini_icm.h"
#include "platform/linux/x11_color_management.h"

namespace {

// A display profile with sRGB's primaries and white but a linear response:
// sRGB grey 128 becomes 55 in it.
std::vector<uint8_t> LinearProfile() {
  cmsCIExyY white;
  cmsWhitePointFromTemp(&white, 6504);
  const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1}, {0.30, 0.60, 1}, {0.15, 0.06, 1}};
  cmsToneCurve* linear = cmsBuildGamma(nullptr, 1.0);
  cmsToneCurve* curves[3] = {linear, linear, linear};
  cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(profile, nullptr, &size);
  std::vector<uint8_t> bytes(size);
  cmsSaveProfileToMem(profile, bytes.data(), &size);
  cmsCloseProfile(profile);
  cmsFreeToneCurve(linear);
  return bytes;
}

// Two displays, each with its own handle; the root window's profile
// properties are set per test and removed afterwards.
class X11ColorManagement : public ::testing::Test {
 protected:
  X11ColorManagement() : x_(XOpenDisplay(nullptr)) {
    Displays.assign(2, TDisplay{});
    Displays[0].DC = &handles_[0];
    Displays[1].DC = &handles_[1];
    DisplayCount = 2;
    DisplayColorManagement = &icm_;
  }
  ~X11ColorManagement() override {
    for (const char* name : {"_ICC_PROFILE", "_ICC_PROFILE_1"})
      XDeleteProperty(x_, DefaultRootWindow(x_), XInternAtom(x_, name, False));
    XCloseDisplay(x_);
    DisplayColorManagement = nullptr;
    Displays.clear();
    DisplayCount = 0;
  }

  void SetRootProperty(const char* name, const std::vector<uint8_t>& bytes) {
    XChangeProperty(x_, DefaultRootWindow(x_), XInternAtom(x_, name, False), XA_CARDINAL, 8, PropModeReplace,
                    bytes.data(), static_cast<int>(bytes.size()));
    XSync(x_, False);
  }

  static TBitmap GreyPixel(uint8_t level) { return TBitmap{1, 1, 24, {level, level, level}}; }

  Display* x_;
  int handles_[2] = {};
  TX11ColorManagement icm_;
};

TEST_F(X11ColorManagement, EachMonitorTakesTheProfileOfItsNumber) {
  SetRootProperty("_ICC_PROFILE_1", LinearProfile());
  TBitmap second = GreyPixel(128), first = GreyPixel(128);
  ApplyDisplayProfile(second, Displays[1].DC);
  ApplyDisplayProfile(first, Displays[0].DC);
  EXPECT_NEAR(second.Bits[0], 55, 1);
  EXPECT_NEAR(second.Bits[2], 55, 1);
  EXPECT_EQ(first.Bits, (std::vector<uint8_t>{128, 128, 128}));

  SetRootProperty("_ICC_PROFILE", LinearProfile());
  ApplyDisplayProfile(first, Displays[0].DC);
  EXPECT_NEAR(first.Bits[1], 55, 1);
}

TEST_F(X11ColorManagement, AProfileThatDoesNotOpenLeavesThePictureAsDecoded) {
  SetRootProperty("_ICC_PROFILE", {'n', 'o', 't', ' ', 'I', 'C', 'C'});
  TBitmap picture = GreyPixel(128);
  ApplyDisplayProfile(picture, Displays[0].DC);
  ApplyDisplayProfile(picture, nullptr);
  EXPECT_EQ(picture.Bits, (std::vector<uint8_t>{128, 128, 128}));
}

}  // namespace

// The profile module calls lcms2's functions by name. In tonemark these
// definitions answer those calls, each passing it on to the library opened on
// demand; they are reached only after CalibrationProfileOnDemand has opened
// it. A function that the module starts to call and that is missing here
// fails tonemark's link, not a user's run.
#include "platform/linux/lcms2_on_demand.h"

#include <dlfcn.h>
#include <lcms2.h>

#include "profile/display_profile.h"

namespace {

constexpr const char* Lcms2Library = "liblcms2.so.2";

struct TLcms2 {
  decltype(&cmsxyY2XYZ) XyYToXyz = nullptr;
  decltype(&cmsBuildParametricToneCurve) BuildParametricToneCurve = nullptr;
  decltype(&cmsBuildTabulatedToneCurve16) BuildTabulatedToneCurve16 = nullptr;
  decltype(&cmsFreeToneCurve) FreeToneCurve = nullptr;
  decltype(&cmsMLUalloc) MluAlloc = nullptr;
  decltype(&cmsMLUfree) MluFree = nullptr;
  decltype(&cmsMLUsetASCII) MluSetAscii = nullptr;
  decltype(&cmsWriteTag) WriteTag = nullptr;
  decltype(&cmsSetProfileVersion) SetProfileVersion = nullptr;
  decltype(&cmsCloseProfile) CloseProfile = nullptr;
  decltype(&cmsSaveProfileToMem) SaveProfileToMem = nullptr;
  decltype(&cmsCreateRGBProfile) CreateRgbProfile = nullptr;
};

template <class Function>
bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

bool Load(void* library, TLcms2& cms) {
  return Find(library, "cmsxyY2XYZ", cms.XyYToXyz) &&
         Find(library, "cmsBuildParametricToneCurve", cms.BuildParametricToneCurve) &&
         Find(library, "cmsBuildTabulatedToneCurve16", cms.BuildTabulatedToneCurve16) &&
         Find(library, "cmsFreeToneCurve", cms.FreeToneCurve) && Find(library, "cmsMLUalloc", cms.MluAlloc) &&
         Find(library, "cmsMLUfree", cms.MluFree) && Find(library, "cmsMLUsetASCII", cms.MluSetAscii) &&
         Find(library, "cmsWriteTag", cms.WriteTag) && Find(library, "cmsSetProfileVersion", cms.SetProfileVersion) &&
         Find(library, "cmsCloseProfile", cms.CloseProfile) &&
         Find(library, "cmsSaveProfileToMem", cms.SaveProfileToMem) &&
         Find(library, "cmsCreateRGBProfile", cms.CreateRgbProfile);
}

// Opened once and kept, or null when it cannot be.
const TLcms2* Lcms2() {
  static const TLcms2* const library = []() -> const TLcms2* {
    void* handle = dlopen(Lcms2Library, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return nullptr;
    static TLcms2 cms;
    return Load(handle, cms) ? &cms : nullptr;
  }();
  return library;
}

}  // namespace

std::string CalibrationProfileOnDemand(const TRampCurve& curve, const TDisplay& display) {
  if (Lcms2() == nullptr)
    throw TProfileError(std::string("The colour profile could not be made: ") + Lcms2Library + " cannot be loaded");
  return CalibrationProfileBytes(curve, display);
}

void CMSEXPORT cmsxyY2XYZ(cmsCIEXYZ* dest, const cmsCIExyY* source) { Lcms2()->XyYToXyz(dest, source); }

cmsToneCurve* CMSEXPORT cmsBuildParametricToneCurve(cmsContext context, cmsInt32Number type,
                                                    const cmsFloat64Number parameters[]) {
  return Lcms2()->BuildParametricToneCurve(context, type, parameters);
}

cmsToneCurve* CMSEXPORT cmsBuildTabulatedToneCurve16(cmsContext context, cmsUInt32Number entries,
                                                     const cmsUInt16Number values[]) {
  return Lcms2()->BuildTabulatedToneCurve16(context, entries, values);
}

void CMSEXPORT cmsFreeToneCurve(cmsToneCurve* curve) { Lcms2()->FreeToneCurve(curve); }

cmsMLU* CMSEXPORT cmsMLUalloc(cmsContext context, cmsUInt32Number items) { return Lcms2()->MluAlloc(context, items); }

void CMSEXPORT cmsMLUfree(cmsMLU* mlu) { Lcms2()->MluFree(mlu); }

cmsBool CMSEXPORT cmsMLUsetASCII(cmsMLU* mlu, const char language[3], const char country[3], const char* text) {
  return Lcms2()->MluSetAscii(mlu, language, country, text);
}

cmsBool CMSEXPORT cmsWriteTag(cmsHPROFILE profile, cmsTagSignature tag, const void* data) {
  return Lcms2()->WriteTag(profile, tag, data);
}

void CMSEXPORT cmsSetProfileVersion(cmsHPROFILE profile, cmsFloat64Number version) {
  Lcms2()->SetProfileVersion(profile, version);
}

cmsBool CMSEXPORT cmsCloseProfile(cmsHPROFILE profile) { return Lcms2()->CloseProfile(profile); }

cmsBool CMSEXPORT cmsSaveProfileToMem(cmsHPROFILE profile, void* memory, cmsUInt32Number* bytesNeeded) {
  return Lcms2()->SaveProfileToMem(profile, memory, bytesNeeded);
}

cmsHPROFILE CMSEXPORT cmsCreateRGBProfile(const cmsCIExyY* white, const cmsCIExyYTRIPLE* primaries,
                                          cmsToneCurve* const curves[3]) {
  return Lcms2()->CreateRgbProfile(white, primaries, curves);
}

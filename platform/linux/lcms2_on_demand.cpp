// The profile module calls lcms2's functions by name. In tonemark these
// definitions answer those calls, each passing it on to the library opened on
// demand; they are reached only after CalibrationProfileOnDemand has opened
// it. A function that the module starts to call and that is missing here
// fails tonemark's link, not a user's run.
#include "platform/linux/lcms2_on_demand.h"

#include <dlfcn.h>
#include <lcms2.h>

#include <string>

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
bool Find(void* library, const char* name, Function& function, const char*& missing) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  if (function == nullptr && missing == nullptr) missing = name;
  return function != nullptr;
}

// The name of the first function the library lacks, or null when it has all.
const char* Load(void* library, TLcms2& cms) {
  const char* missing = nullptr;
  Find(library, "cmsxyY2XYZ", cms.XyYToXyz, missing);
  Find(library, "cmsBuildParametricToneCurve", cms.BuildParametricToneCurve, missing);
  Find(library, "cmsBuildTabulatedToneCurve16", cms.BuildTabulatedToneCurve16, missing);
  Find(library, "cmsFreeToneCurve", cms.FreeToneCurve, missing);
  Find(library, "cmsMLUalloc", cms.MluAlloc, missing);
  Find(library, "cmsMLUfree", cms.MluFree, missing);
  Find(library, "cmsMLUsetASCII", cms.MluSetAscii, missing);
  Find(library, "cmsWriteTag", cms.WriteTag, missing);
  Find(library, "cmsSetProfileVersion", cms.SetProfileVersion, missing);
  Find(library, "cmsCloseProfile", cms.CloseProfile, missing);
  Find(library, "cmsSaveProfileToMem", cms.SaveProfileToMem, missing);
  Find(library, "cmsCreateRGBProfile", cms.CreateRgbProfile, missing);
  return missing;
}

struct TOpenedLcms2 {
  TLcms2 Cms;
  std::string Problem;  // why it cannot be used; empty when it can
};

// Opened once and kept.
const TOpenedLcms2& OpenedLcms2() {
  static const TOpenedLcms2 opened = [] {
    TOpenedLcms2 result;
    void* handle = dlopen(Lcms2Library, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* why = dlerror();
      result.Problem = std::string(Lcms2Library) + " cannot be loaded" + (why != nullptr ? std::string(" (") + why + ")" : "");
    } else if (const char* missing = Load(handle, result.Cms)) {
      result.Problem = std::string(Lcms2Library) + " lacks the function " + missing;
    }
    return result;
  }();
  return opened;
}

const TLcms2* Lcms2() { return &OpenedLcms2().Cms; }

}  // namespace

std::string CalibrationProfileOnDemand(const TRampCurve& curve, const TDisplay& display) {
  // Said after "… could not be written: ", so it starts in lower case.
  const std::string& problem = OpenedLcms2().Problem;
  if (!problem.empty()) throw TProfileError("the colour profile could not be made: " + problem);
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

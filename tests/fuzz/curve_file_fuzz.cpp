// Any bytes as a curve file: the reader either fails with its message or
// gives a record that survives being written and read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ramp/curve_file.h"
#include "ramp/file_error.h"

namespace {

bool SameRecord(const TRampCurve& a, const TRampCurve& b) {
  return CurveFileText(a, "") == CurveFileText(b, "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TRampCurve curve;
  std::string deviceName;
  try {
    ReadCurveText(curve, deviceName, text);
  } catch (const TFileError& error) {
    if (std::strcmp(error.what(), InvalidNumericInput) != 0) std::abort();
    return 0;
  }
  TRampCurve again;
  std::string againName;
  ReadCurveText(again, againName, CurveFileText(curve, deviceName));
  if (!SameRecord(curve, again)) std::abort();
  return 0;
}

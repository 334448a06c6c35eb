#include "platform/windows/display_gamma_range.h"

#include <windows.h>

#include "lang/multilang.h"

std::optional<unsigned long> SystemGammaRange() {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, GammaRangeKey, GammaRangeValue, RRF_RT_REG_DWORD,
                   nullptr, &value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

std::string GammaRangeAdvice(std::optional<unsigned long> range) {
  return Translate(range && *range >= WholeGammaRange ? "MGammaRangeSet" : "MGammaRangeUnset");
}

#include "paint/scaling.h"

#include <cmath>

#include "ramp/records.h"

int64_t RoundHalfEven(long double value) {
  const long double floor = std::floor(value);
  const long double fraction = value - floor;
  int64_t result = int64_t(floor);
  if (fraction > 0.5L || (fraction == 0.5L && result % 2 != 0)) ++result;
  return result;
}

int32_t MulDivRounded(int32_t value, int32_t numerator, int32_t denominator) {
  if (denominator == 0) return -1;
  int64_t product = int64_t(value) * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  if (product < 0) product = -product;
  const int64_t divisor = denominator < 0 ? -int64_t(denominator) : denominator;
  const int64_t quotient = (2 * product + divisor) / (2 * divisor);
  return int32_t(negative ? -quotient : quotient);
}

int32_t Scale(int32_t value, int32_t ppi) { return MulDivRounded(value, ppi, DesignDpi); }

namespace {

TRect EditedMonitor() {
  if (CurrentDisplay < 0 || size_t(CurrentDisplay) >= Displays.size()) return TRect{};
  return Displays[CurrentDisplay].MonitorInfo.Monitor;
}

}  // namespace

int32_t CenteredLeft(int32_t width) {
  const TRect monitor = EditedMonitor();
  return (monitor.Right - monitor.Left) / 2 - width / 2;
}

int32_t CenteredTop(int32_t height) {
  const TRect monitor = EditedMonitor();
  return (monitor.Bottom - monitor.Top) / 2 - height / 2;
}

// Any bytes as the simulated displays' displays.ini: monitors numbered from
// 1 without a gap, each with a positive DPI.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "platform/sim/sim_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  const std::vector<TSimMonitor> monitors = SimMonitorsFrom(in);
  for (size_t i = 0; i < monitors.size(); ++i)
    if (monitors[i].Number != static_cast<int32_t>(i + 1) || monitors[i].Dpi <= 0) std::abort();
  return 0;
}

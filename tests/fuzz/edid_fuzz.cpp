// Any bytes as a monitor's EDID, copied into the base block as discovery
// copies them: the description and the model code are plain text.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ramp/edid.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TEdid edid{};
  std::copy_n(data, std::min(size, edid.size()), edid.begin());
  const std::string description = EdidDescription(edid);
  const std::string model = EdidModelCode(edid);
  if (description.size() > 2 * 13 + 1) std::abort();  // two descriptors and a blank
  if (!model.empty() && model.size() != 7) std::abort();
  return 0;
}

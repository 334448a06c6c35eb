// Any bytes as a settings file: setting a key gives a text in which that key
// reads back as set, and another section's key reads as before.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/profile_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto otherBefore = ProfileValue(text, "Window", "Language");
  ProfileValue(text, "Settings", "ReferenceImage");
  const std::string written =
      WithProfileValues(text, "Settings", {{"Language", "Svenska"}, {"ReferenceImage", "r.jpg"}});
  if (ProfileValue(written, "Settings", "Language") != "Svenska") std::abort();
  if (ProfileValue(written, "Settings", "ReferenceImage") != "r.jpg") std::abort();
  if (ProfileValue(written, "Window", "Language") != otherBefore) std::abort();
  return 0;
}

// Any bytes as a settings file: setting a key gives a text in which that key
// reads back as set, and another section's key reads as before.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto otherBefore = IniValue(text, "Window", "Language");
  IniValue(text, "Settings", "ReferenceImage");
  const std::string written =
      WithIniValues(text, "Settings", {{"Language", "Svenska"}, {"ReferenceImage", "r.jpg"}});
  if (IniValue(written, "Settings", "Language") != "Svenska") std::abort();
  if (IniValue(written, "Settings", "ReferenceImage") != "r.jpg") std::abort();
  if (IniValue(written, "Window", "Language") != otherBefore) std::abort();
  return 0;
}

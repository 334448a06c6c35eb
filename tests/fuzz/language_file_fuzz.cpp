// Any bytes as a language file: every entry handed on has a key that starts
// with a letter and holds no "=", and reading never fails.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "lang/language_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  ReadLanguageEntries(in, [](const std::string& key, const std::string&) {
    const char first = key.empty() ? '\0' : key.front();
    const bool letter = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z');
    if (!letter || key.find('=') != std::string::npos) std::abort();
  });
  return 0;
}

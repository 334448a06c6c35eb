#include "shell/ini_file.h"

#include "ramp/atomic_file.h"
#include "ramp/file_error.h"
#include "ramp/file_port.h"
#include "shell/ini_text.h"

namespace {

// Far beyond any settings file; a larger one is not read into memory.
constexpr size_t MaxIniFileSize = 16 << 20;

}  // namespace

std::optional<std::string> ReadIniFile(const std::string& path) {
  std::string text;
  switch (FilePort::ReadFileBytes(path, MaxIniFileSize, text)) {
    case FilePort::TReadOutcome::Read: return text;
    case FilePort::TReadOutcome::Missing: return "";
    case FilePort::TReadOutcome::Unreadable: break;
  }
  return std::nullopt;
}

bool WriteIniFile(const std::string& path, const std::string& section,
                  const std::vector<std::pair<std::string, std::string>>& values) {
  // Rewriting a file that could not be read would lose its other sections.
  const std::optional<std::string> text = ReadIniFile(path);
  if (!text) return false;
  try {
    WriteFileAtomically(path, WithIniValues(*text, section, values));
  } catch (const TFileError&) {
    return false;
  }
  return true;
}

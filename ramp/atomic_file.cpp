#include "ramp/atomic_file.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "ramp/file_error.h"

std::string UnableToWriteMessage(const std::string& path) { return "Unable to write to " + path; }

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp";
  bool written = false;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) {
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      out.flush();
      written = static_cast<bool>(out);
    }
    out.close();
    written = written && !out.fail();
  }
  std::error_code error;
  if (written) {
    // Replaces an existing file in one step on both targets.
    std::filesystem::rename(temporary, path, error);
    if (!error) return;
  }
  std::filesystem::remove(temporary, error);
  throw TFileError(UnableToWriteMessage(path));
}

#include "ramp/atomic_file.h"

#include <random>

#include "ramp/file_error.h"
#include "ramp/file_port.h"

namespace {

// Each try draws a new name; clashing this often means the folder is not
// usable rather than unlucky.
constexpr int MaxNameTries = 100;

std::string RandomTag() {
  static thread_local std::mt19937_64 generator{std::random_device{}()};
  constexpr const char* Digits = "0123456789abcdef";
  uint64_t bits = generator();
  std::string tag;
  for (int i = 0; i < 12; ++i, bits >>= 4) tag.push_back(Digits[bits & 15]);
  return tag;
}

}  // namespace

std::string UnableToWriteMessage(const std::string& path) { return "Unable to write to " + path; }

std::string TemporaryName(const std::string& target, const std::string& tag) {
  return target + "." + tag + ".tmp";
}

TStagedFile StageFile(const std::string& path, const std::string& bytes) {
  TStagedFile staged{path, FilePort::LinkTarget(path), ""};
  for (int attempt = 0; attempt < MaxNameTries; ++attempt) {
    staged.Temporary = TemporaryName(staged.Target, RandomTag());
    switch (FilePort::CreateFileWith(staged.Temporary, bytes)) {
      case FilePort::TCreateOutcome::Created: return staged;
      case FilePort::TCreateOutcome::Exists: continue;
      case FilePort::TCreateOutcome::Failed: break;
    }
    break;
  }
  throw TFileError(UnableToWriteMessage(path));
}

void CommitStagedFile(const TStagedFile& staged) {
  if (FilePort::MoveOver(staged.Temporary, staged.Target)) return;
  DiscardStagedFile(staged);
  throw TFileError(UnableToWriteMessage(staged.Path));
}

void DiscardStagedFile(const TStagedFile& staged) { FilePort::RemoveFile(staged.Temporary); }

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  CommitStagedFile(StageFile(path, bytes));
}

#include "ramp/atomic_file.h"

#include <cstdint>
#include <random>

#include "ramp/file_error.h"
#include "ramp/file_port.h"

namespace {

// Each try draws a new name; clashing this often means the folder is not
// usable rather than unlucky.
constexpr int MaxNameTries = 100;
// The file systems' own limit is far above any settings or curve file.
constexpr size_t MaxPreviousSize = 64 << 20;

std::string RandomTag() {
  static thread_local std::mt19937_64 generator{std::random_device{}()};
  constexpr const char* Digits = "0123456789abcdef";
  uint64_t bits = generator();
  std::string tag;
  for (int i = 0; i < 12; ++i, bits >>= 4) tag.push_back(Digits[bits & 15]);
  return tag;
}

// A new temporary file beside `target` holding `bytes`, flushed to the disk;
// nothing when none could be written.
std::optional<std::string> WriteTemporary(const std::string& target, const std::string& bytes, bool flush = true) {
  for (int attempt = 0; attempt < MaxNameTries; ++attempt) {
    const std::string temporary = target + "." + RandomTag() + ".tmp";
    switch (FilePort::CreateFileWith(temporary, bytes, flush)) {
      case FilePort::TCreateOutcome::Created: return temporary;
      case FilePort::TCreateOutcome::Exists: continue;
      case FilePort::TCreateOutcome::Failed: return std::nullopt;
    }
  }
  return std::nullopt;
}

// The bytes of the file at `path`, nothing when there is none; throws when
// there is one that cannot be read.
std::optional<std::string> ReadPrevious(const std::string& path, const std::string& shownPath) {
  std::string bytes;
  switch (FilePort::ReadFileBytes(path, MaxPreviousSize, bytes)) {
    case FilePort::TReadOutcome::Read: return bytes;
    case FilePort::TReadOutcome::Missing: return std::nullopt;
    case FilePort::TReadOutcome::Unreadable: break;
  }
  throw TFileError(UnableToWriteMessage(shownPath));
}

}  // namespace

std::string UnableToWriteMessage(const std::string& path) { return "Unable to write to " + path; }

void TStagedFiles::Stage(const std::string& path, const std::string& bytes) {
  const std::string target = FilePort::LinkTarget(path);
  if (FilePort::IsFolder(target)) throw TFileError(UnableToWriteMessage(path));
  const std::optional<std::string> temporary = WriteTemporary(target, bytes, flush_);
  if (!temporary) throw TFileError(UnableToWriteMessage(path));
  files_.push_back({path, target, *temporary, std::nullopt});
}

void TStagedFiles::Commit() {
  size_t replaced = 0;
  try {
    for (size_t i = 0; i + 1 < files_.size(); ++i)
      files_[i].Previous = ReadPrevious(files_[i].Target, files_[i].Path);
    for (; replaced < files_.size(); ++replaced)
      if (!FilePort::MoveOver(files_[replaced].Temporary, files_[replaced].Target, flush_))
        throw TFileError(UnableToWriteMessage(files_[replaced].Path));
  } catch (const TFileError&) {
    PutBack(replaced);
    Discard();
    throw;
  }
  files_.clear();
}

// The first `count` targets, already replaced, as they were before.
void TStagedFiles::PutBack(size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const TStagedFile& file = files_[i];
    if (!file.Previous) {
      FilePort::RemoveFile(file.Target);
    } else if (const auto temporary = WriteTemporary(file.Target, *file.Previous)) {
      if (!FilePort::MoveOver(*temporary, file.Target)) FilePort::RemoveFile(*temporary);
    }
  }
}

void TStagedFiles::Discard() {
  for (const TStagedFile& file : files_) FilePort::RemoveFile(file.Temporary);
  files_.clear();
}

void WriteFileAtomically(const std::string& path, const std::string& bytes, TFlush flush) {
  TStagedFiles file(flush);
  file.Stage(path, bytes);
  file.Commit();
}

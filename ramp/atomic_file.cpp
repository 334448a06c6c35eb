#include "ramp/atomic_file.h"

#include <filesystem>
#include <fstream>
#include <exception>
#include <iterator>
#include <system_error>

#include "ramp/file_error.h"

namespace {

constexpr const char* TemporarySuffix = ".tmp";

bool WriteWhole(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

// The bytes of the file at `path`, nothing when there is none; throws when
// there is one that cannot be read.
std::optional<std::string> ReadPrevious(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (std::filesystem::is_regular_file(path, error) && in) {
    try {
      return std::string(std::istreambuf_iterator<char>(in), {});
    } catch (const std::exception&) {
      // a read error of the file system: below
    }
  }
  throw TFileError(UnableToWriteMessage(path));
}

// Replaces an existing file in one step on both targets.
bool Rename(const std::string& from, const std::string& to) {
  std::error_code error;
  std::filesystem::rename(from, to, error);
  return !error;
}

void RemoveQuietly(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

}  // namespace

std::string UnableToWriteMessage(const std::string& path) { return "Unable to write to " + path; }

void TStagedFiles::Stage(const std::string& path, const std::string& bytes) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) throw TFileError(UnableToWriteMessage(path));
  const std::string temporary = path + TemporarySuffix;
  if (!WriteWhole(temporary, bytes)) {
    RemoveQuietly(temporary);
    throw TFileError(UnableToWriteMessage(path));
  }
  files_.push_back({path, temporary, std::nullopt});
}

void TStagedFiles::Commit() {
  size_t replaced = 0;
  try {
    for (size_t i = 0; i + 1 < files_.size(); ++i) files_[i].Previous = ReadPrevious(files_[i].Path);
    for (; replaced < files_.size(); ++replaced)
      if (!Rename(files_[replaced].Temporary, files_[replaced].Path))
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
    TStagedFile& file = files_[i];
    if (!file.Previous) RemoveQuietly(file.Path);
    else if (WriteWhole(file.Temporary, *file.Previous)) Rename(file.Temporary, file.Path);
  }
}

void TStagedFiles::Discard() {
  for (const TStagedFile& file : files_) RemoveQuietly(file.Temporary);
  files_.clear();
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  TStagedFiles file;
  file.Stage(path, bytes);
  file.Commit();
}

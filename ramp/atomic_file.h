// Replacing a file so that a failed or interrupted write leaves the old one.
//
// A write is staged first: the bytes go to a new temporary file with a name
// of its own beside the file they will replace, flushed to the disk. Putting
// it in place is a single rename, so a reader or a later start sees either
// the old file or the new one, never a part. A symbolic link is written
// through: its target is replaced and the link stays.
#pragma once

#include <string>

// A complete temporary file waiting to replace `Target`.
struct TStagedFile {
  std::string Path;       // as the caller named it, for messages
  std::string Target;     // the file that the rename replaces
  std::string Temporary;  // beside Target
};

// Writes `bytes` to a fresh temporary file beside the file that `path` names.
// Throws TFileError("Unable to write to <path>"), leaving nothing behind, when
// it cannot.
TStagedFile StageFile(const std::string& path, const std::string& bytes);
// Renames the temporary file over its target. Throws TFileError("Unable to
// write to <path>") when the system refuses, after removing the temporary
// file; the target is then as it was.
void CommitStagedFile(const TStagedFile& staged);
// Removes the temporary file; the target stays as it was.
void DiscardStagedFile(const TStagedFile& staged);

// Stages `bytes` for `path` and commits them at once.
void WriteFileAtomically(const std::string& path, const std::string& bytes);

// The name for a temporary file beside `target` that ends in `tag`:
// "<target>.<tag>.tmp", so that no reader of the folder takes it for one of
// its files.
std::string TemporaryName(const std::string& target, const std::string& tag);

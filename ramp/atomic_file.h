// Replacing files so that a failed or interrupted write leaves the old ones.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Several files replaced together or not at all. Stage writes each file's
// bytes to a temporary file beside it; Commit renames them all over their
// targets. No target changes before Commit; Discard (or the destructor)
// removes the temporaries of whatever was not committed.
class TStagedFiles {
 public:
  TStagedFiles() = default;
  ~TStagedFiles() { Discard(); }
  TStagedFiles(const TStagedFiles&) = delete;
  TStagedFiles& operator=(const TStagedFiles&) = delete;

  // Throws TFileError("Unable to write to <path>") when `path` is a folder or
  // the temporary cannot be written; the files staged before stay staged.
  void Stage(const std::string& path, const std::string& bytes);
  // Renames every temporary over its target, in staging order. First it
  // reads the files it may have to put back (every target but the last); when
  // one of them cannot be read, nothing is replaced. When a rename fails, the
  // targets replaced before it get their previous contents back. Either way
  // the temporaries are removed and TFileError("Unable to write to <path>")
  // names the file that failed.
  void Commit();
  // Removes every temporary not yet committed.
  void Discard();

 private:
  struct TStagedFile {
    std::string Path;
    std::string Temporary;
    std::optional<std::string> Previous;  // nothing: there was no file
  };
  void PutBack(size_t count);
  std::vector<TStagedFile> files_;
};

// One file replaced atomically: staged and committed alone. Throws
// TFileError("Unable to write to <path>") on any failure, and leaves whatever
// was at `path` before untouched.
void WriteFileAtomically(const std::string& path, const std::string& bytes);

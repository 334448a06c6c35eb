// Replacing files so that a failed or interrupted write leaves the old ones.
//
// Each file's bytes go first to a new temporary file with a name of its own
// beside the file they will replace ("<name>.<random>.tmp"), flushed to the
// disk. Putting it in place is a single rename, so a reader or a later start
// sees either the old file or the new one, never a part, and two writers of
// one file never rename each other's half-written bytes into place. A
// symbolic link is written through: its target is replaced and the link stays.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Several files replaced together or not at all. Stage writes each file's
// bytes to a temporary file beside it; Commit renames them all over their
// targets. No target changes before Commit; Discard (or the destructor)
// removes the temporaries of whatever was not committed.
// Unflushed: readers still see the old file or the new one, never a part, but
// a power cut may lose the change. For records that every run writes anew.
enum class TFlush { ToDisk, Unflushed };

class TStagedFiles {
 public:
  explicit TStagedFiles(TFlush flush = TFlush::ToDisk) : flush_(flush == TFlush::ToDisk) {}
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
    std::string Path;       // as the caller named it, for messages
    std::string Target;     // the file that the rename replaces
    std::string Temporary;  // beside Target
    std::optional<std::string> Previous;  // nothing: there was no file
  };
  void PutBack(size_t count);
  std::vector<TStagedFile> files_;
  bool flush_ = true;
};

// One file replaced atomically: staged and committed alone. Throws
// TFileError("Unable to write to <path>") on any failure, and leaves whatever
// was at `path` before untouched.
void WriteFileAtomically(const std::string& path, const std::string& bytes, TFlush flush = TFlush::ToDisk);

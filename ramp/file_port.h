// What reading and replacing the user's files needs from the operating
// system. Each build has exactly one implementation, chosen at link time:
// tonemark_platform_linux_files (POSIX calls) or tonemark_platform_windows_files
// (the ANSI file functions, so that paths keep the system's code page, as the
// shell port's do). tonemark_ramp links the one of the build's OS.
//
// Paths are byte strings in the system's ANSI code page (Windows) or as the
// file system holds them (Linux). No function here throws.
#pragma once

#include <cstddef>
#include <string>

namespace FilePort {

enum class TReadOutcome {
  Read,        // `bytes` holds the whole file
  Missing,     // nothing, or something that is not a file, stands at the path
  Unreadable,  // a file that cannot be opened or read, or is longer than the limit
};

// Reads the whole file at `path` into `bytes` when it is at most `limit` bytes.
TReadOutcome ReadFileBytes(const std::string& path, size_t limit, std::string& bytes);

// True for an existing folder.
bool IsFolder(const std::string& path);

// The file that a write to `path` must replace: where a symbolic link at
// `path` (through a chain of them) points, else `path` itself.
std::string LinkTarget(const std::string& path);

enum class TCreateOutcome { Created, Exists, Failed };

// Creates a file at `path` only when nothing stands there, writes `bytes`,
// flushes them to the disk (unless `flush` is false) and closes it. A failed
// write removes the file.
TCreateOutcome CreateFileWith(const std::string& path, const std::string& bytes, bool flush = true);

// Puts the file at `from` in place of the file at `to` in one step, keeping
// the access rights of a file that was at `to`, and makes the change durable
// (unless `flush` is false). False, with both files as they were, when the
// system refuses.
bool MoveOver(const std::string& from, const std::string& to, bool flush = true);

bool RemoveFile(const std::string& path);

}  // namespace FilePort

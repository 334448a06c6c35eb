// The file port on Windows: the ANSI file functions, so that paths in the
// system's code page reach the same files as the shell port's; every write
// is flushed to the disk before it counts.
#include <windows.h>

#include <algorithm>

#include "ramp/file_port.h"

namespace {

// A handle closed when it goes out of scope.
class THandle {
 public:
  explicit THandle(HANDLE handle) : handle_(handle) {}
  ~THandle() {
    if (Valid()) CloseHandle(handle_);
  }
  THandle(const THandle&) = delete;
  THandle& operator=(const THandle&) = delete;
  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
      return false;
    done += written;
  }
  return true;
}

// GetFinalPathNameByHandle answers "\\?\C:\..." or "\\?\UNC\server\...".
std::string WithoutLongPathPrefix(const std::string& path) {
  if (path.rfind("\\\\?\\UNC\\", 0) == 0) return "\\\\" + path.substr(8);
  if (path.rfind("\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

}  // namespace

namespace FilePort {

TReadOutcome ReadFileBytes(const std::string& path, size_t limit, std::string& bytes) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? TReadOutcome::Missing
                                                                          : TReadOutcome::Unreadable;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return TReadOutcome::Missing;
  THandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return TReadOutcome::Unreadable;
  std::string text;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) return TReadOutcome::Unreadable;
    if (got == 0) break;
    if (text.size() + got > limit) return TReadOutcome::Unreadable;
    text.append(buffer, got);
  }
  bytes = std::move(text);
  return TReadOutcome::Read;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string LinkTarget(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return path;
  // Opening without FILE_FLAG_OPEN_REPARSE_POINT follows the whole chain.
  THandle file(CreateFileA(path.c_str(), 0, ShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.Valid()) return path;
  char target[MAX_PATH * 4];
  const DWORD length = GetFinalPathNameByHandleA(file.Get(), target, sizeof target,
                                                 FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= sizeof target) return path;
  return WithoutLongPathPrefix(std::string(target, length));
}

TCreateOutcome CreateFileWith(const std::string& path, const std::string& bytes, bool flush) {
  THandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid())
    return GetLastError() == ERROR_FILE_EXISTS ? TCreateOutcome::Exists : TCreateOutcome::Failed;
  if (WriteAll(file.Get(), bytes) && (!flush || FlushFileBuffers(file.Get())) && file.Close())
    return TCreateOutcome::Created;
  if (file.Valid()) file.Close();
  DeleteFileA(path.c_str());
  return TCreateOutcome::Failed;
}

bool MoveOver(const std::string& from, const std::string& to, bool flush) {
  // Wine's ReplaceFile would move a folder aside to make room.
  if (IsFolder(to)) return false;
  // ReplaceFile keeps the replaced file's attributes and security. It fails
  // when there is nothing to replace, and when it could delete the old file
  // but not rename the new one in its place: a plain move finishes both.
  if (GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES &&
      ReplaceFileA(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                   nullptr))
    return true;
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | (flush ? MOVEFILE_WRITE_THROUGH : 0)) != 0;
}

bool RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

}  // namespace FilePort

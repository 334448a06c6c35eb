// The file port on Linux: POSIX calls, with every write flushed to the disk
// before it counts, so that a power cut after a save keeps the new file.
#include "ramp/file_port.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The kernel gives up on longer chains of links as well.
constexpr int MaxLinkDepth = 40;

// A descriptor closed when it goes out of scope.
class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fd_(fd) {}
  ~TDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now, so that a failure to write back is seen.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

 private:
  int fd_;
};

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

// A rename is only durable once its folder is flushed. Some file systems
// cannot flush a folder; the rename has happened all the same.
void FlushFolder(const std::string& folder) {
  TDescriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.Get() >= 0) fsync(fd.Get());
}

}  // namespace

namespace FilePort {

TReadOutcome ReadFileBytes(const std::string& path, size_t limit, std::string& bytes) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return errno == ENOENT || errno == ENOTDIR
                                                   ? TReadOutcome::Missing
                                                   : TReadOutcome::Unreadable;
  // A folder, a pipe or a device is no file of the user's.
  if (!S_ISREG(status.st_mode)) return TReadOutcome::Missing;
  TDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) return TReadOutcome::Unreadable;
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t got = read(fd.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return TReadOutcome::Unreadable;
    if (got == 0) break;
    if (text.size() + static_cast<size_t>(got) > limit) return TReadOutcome::Unreadable;
    text.append(buffer, static_cast<size_t>(got));
  }
  bytes = std::move(text);
  return TReadOutcome::Read;
}

bool IsFolder(const std::string& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string LinkTarget(const std::string& path) {
  std::string current = path;
  for (int depth = 0; depth < MaxLinkDepth; ++depth) {
    struct stat status;
    if (lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return current;
    char target[PATH_MAX];
    const ssize_t length = readlink(current.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof target) return current;
    const std::string next(target, static_cast<size_t>(length));
    current = next.front() == '/' ? next : FolderOf(current) + "/" + next;
  }
  return current;
}

TCreateOutcome CreateFileWith(const std::string& path, const std::string& bytes, bool flush) {
  // Created with the rights that any new file of the user gets (the umask).
  TDescriptor fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (fd.Get() < 0) return errno == EEXIST ? TCreateOutcome::Exists : TCreateOutcome::Failed;
  if (WriteAll(fd.Get(), bytes) && (!flush || fsync(fd.Get()) == 0) && fd.Close()) return TCreateOutcome::Created;
  unlink(path.c_str());
  return TCreateOutcome::Failed;
}

bool MoveOver(const std::string& from, const std::string& to, bool flush) {
  struct stat status;
  if (stat(to.c_str(), &status) == 0 && S_ISREG(status.st_mode))
    chmod(from.c_str(), status.st_mode & 07777);
  // Unflushed, the new file trades places with the old one, which then goes:
  // a rename over a file makes ext4 write the new data out there and then
  // (its guard for programs that do not flush), which costs a load run a
  // third of its time. Where the file system cannot exchange, a rename.
  if (!flush && renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0) {
    unlink(from.c_str());
    return true;
  }
  if (rename(from.c_str(), to.c_str()) != 0) return false;
  if (flush) FlushFolder(FolderOf(to));
  return true;
}

bool RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }

}  // namespace FilePort

#include "loader/linux/status_file.h"

#include <fcntl.h>
#include <stddef.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "loader/linux/data_folder.h"
#include "loader/linux/runtime_folder.h"
#include "loader/shown_file.h"
#include "loader/status_record.h"
#include "loader/status_text.h"

namespace {

constexpr char TemporarySuffix[] = ".new";
constexpr char LoaderName[] = "tonewatch";
constexpr char NotRunningWhy[] = "Tonewatch is not running";
constexpr size_t ReportSize = 16384;

constexpr uint64_t FnvOffset = 14695981039346656037ull;
constexpr uint64_t FnvPrime = 1099511628211ull;
// The record up to its status; aligned as the record is.
alignas(TStatusRecord) unsigned char HeaderBytes[offsetof(TStatusRecord, Status)];
uint64_t WrittenSum = 0;  // of what the file holds; 0: nothing written

// FNV-1a over 8-byte words (both parts of the record are multiples of 8 long).
uint64_t Sum(const void* data, size_t size, uint64_t sum) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i + sizeof(uint64_t) <= size; i += sizeof(uint64_t)) {
    uint64_t word;
    memcpy(&word, bytes + i, sizeof word);
    sum = (sum ^ word) * FnvPrime;
  }
  return sum;
}

bool StatusPath(char* path, size_t size) {
  char folder[PATH_MAX];
  return FindRuntimeFolder(folder, sizeof folder, false) && JoinPath(folder, StatusRecordName, path, size);
}

bool WriteAll(int file, const void* data, size_t size) {
  const char* next = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = write(file, next, size);
    if (written <= 0) return false;
    next += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// A record from a loader that still runs: the process lives and is a tonewatch.
bool WriterRuns(const TStatusRecord& record) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%lld/comm", static_cast<long long>(record.Process));
  const int file = open(path, O_RDONLY | O_CLOEXEC);
  if (file < 0) return false;
  char name[32] = {};
  const ssize_t length = read(file, name, sizeof name - 1);
  close(file);
  return length > 0 && strncmp(name, LoaderName, sizeof LoaderName - 1) == 0 &&
         (name[sizeof LoaderName - 1] == '\n' || name[sizeof LoaderName - 1] == '\0');
}

bool ReadRecord(TStatusRecord& record) {
  char path[PATH_MAX];
  if (!StatusPath(path, sizeof path)) return false;
  const int file = open(path, O_RDONLY | O_CLOEXEC);
  if (file < 0) return false;
  const ssize_t length = read(file, &record, sizeof record);
  close(file);
  return length == static_cast<ssize_t>(sizeof record) && record.Magic == StatusRecordMagic &&
         record.Size == sizeof record && WriterRuns(record);
}

void ReadFileInto(const char* path, void (*parse)(const char*, size_t, void*), void* into) {
  const int file = open(path, O_RDONLY | O_CLOEXEC);
  struct stat info;
  void* text = MAP_FAILED;
  size_t length = 0;
  if (file >= 0 && fstat(file, &info) == 0 && info.st_size > 0) {
    length = static_cast<size_t>(info.st_size);
    text = mmap(nullptr, length, PROT_READ, MAP_PRIVATE, file, 0);
  }
  if (file >= 0) close(file);
  if (text == MAP_FAILED) {
    parse("", 0, into);
    return;
  }
  parse(static_cast<const char*>(text), length, into);
  munmap(text, length);
}

void ParseShown(const char* text, size_t length, void* into) {
  ReadShownText(text, length, *static_cast<TShownFile*>(into));
}

}  // namespace

void WriteStatusFile(int32_t watchSeconds, const char* notWatchedWhy, const TWatchStatus& status) {
  // The record is the header here and the watch's own status after it: no
  // copy of the status is kept, only a sum of what was written last.
  TStatusRecord& header = *reinterpret_cast<TStatusRecord*>(HeaderBytes);
  memset(HeaderBytes, 0, sizeof HeaderBytes);
  header.Magic = StatusRecordMagic;
  header.Size = sizeof(TStatusRecord);
  header.Process = getpid();
  header.WatchSeconds = watchSeconds;
  if (watchSeconds <= 0) CopyText(header.Why, sizeof header.Why, notWatchedWhy);
  uint64_t sum = Sum(HeaderBytes, sizeof HeaderBytes, FnvOffset);
  if (watchSeconds > 0) sum = Sum(&status, sizeof status, sum);
  if (sum == WrittenSum) return;
  char path[PATH_MAX];
  char temporary[PATH_MAX + sizeof TemporarySuffix];
  if (!StatusPath(path, sizeof path)) return;
  snprintf(temporary, sizeof temporary, "%s%s", path, TemporarySuffix);
  const int file = open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (file < 0) return;
  // Not watching: the status stays zeros, which the file's new length gives.
  bool written = WriteAll(file, HeaderBytes, sizeof HeaderBytes) &&
                 (watchSeconds > 0 ? WriteAll(file, &status, sizeof status)
                                   : ftruncate(file, sizeof(TStatusRecord)) == 0);
  close(file);
  written = written && rename(temporary, path) == 0;
  if (!written) unlink(temporary);
  WrittenSum = written ? sum : 0;  // not written: the next look tries again
}

void RemoveStatusFile() {
  char path[PATH_MAX];
  if (WrittenSum != 0 && StatusPath(path, sizeof path)) unlink(path);
}

int PrintWatchStatus() {
  static TStatusRecord record;
  static TShownFile shown;
  const bool running = ReadRecord(record);
  if (!running || record.WatchSeconds == 0) {
    char folder[PATH_MAX];
    char path[PATH_MAX];
    shown.Count = 0;
    if (FindDataFolder(folder, sizeof folder) && JoinPath(folder, ShownFileName, path, sizeof path)) {
      ReadFileInto(path, ParseShown, &shown);
    }
    StatusFromShown(shown, false, running ? record.Why : NotRunningWhy, record.Status);
  }
  static char report[ReportSize];
  FormatWatchStatus(record.Status, running, running ? record.WatchSeconds : 0, report, sizeof report);
  fputs(report, stdout);
  return 0;
}

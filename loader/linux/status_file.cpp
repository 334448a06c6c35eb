#include "loader/linux/status_file.h"

#include <fcntl.h>
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

TStatusRecord Written;  // what the file holds

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
  TStatusRecord record;
  memset(&record, 0, sizeof record);
  record.Magic = StatusRecordMagic;
  record.Size = sizeof record;
  record.Process = getpid();
  record.WatchSeconds = watchSeconds;
  if (watchSeconds > 0) record.Status = status;
  else CopyText(record.Why, sizeof record.Why, notWatchedWhy);
  if (memcmp(&record, &Written, sizeof record) == 0) return;
  char path[PATH_MAX];
  char temporary[PATH_MAX + sizeof TemporarySuffix];
  if (!StatusPath(path, sizeof path)) return;
  snprintf(temporary, sizeof temporary, "%s%s", path, TemporarySuffix);
  const int file = open(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (file < 0) return;
  const bool written = WriteAll(file, &record, sizeof record);
  close(file);
  if (written && rename(temporary, path) == 0) Written = record;
  else unlink(temporary);
}

void RemoveStatusFile() {
  char path[PATH_MAX];
  if (Written.Magic == StatusRecordMagic && StatusPath(path, sizeof path)) unlink(path);
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

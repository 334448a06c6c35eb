#include "loader/linux/trim_working_set.h"

#include <fcntl.h>
#include <malloc.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr char MappingsFile[] = "/proc/self/smaps";
constexpr char DevicesFolder[] = "/dev/";
constexpr int MostRanges = 128;
// Long enough for a mapping line with a path of PATH_MAX bytes; a longer
// line is skipped, and so is the mapping it may have described.
constexpr size_t LineBufferSize = 8192;

struct TRange {
  uintptr_t Start;
  uintptr_t End;
};

// One mapping of /proc/self/smaps as its lines go by. It may be let go only
// when it is read-only, comes from a file, and holds no private copy of a
// page, in memory or in swap.
struct TMapping {
  TRange Span = {0, 0};
  bool ReadOnlyFile = false;
  bool AnonymousSeen = false;
  bool SwapSeen = false;
  bool Written = false;
};

struct TRangeList {
  TRange Items[MostRanges];
  int Count = 0;
};

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

void Conclude(const TMapping& mapping, TRangeList& releasable) {
  if (mapping.ReadOnlyFile && mapping.AnonymousSeen && mapping.SwapSeen && !mapping.Written &&
      releasable.Count < MostRanges) {
    releasable.Items[releasable.Count++] = mapping.Span;
  }
}

// Field lines look like "Anonymous:      12 kB".
bool ReadField(const char* line, const char* name, bool& seen, bool& written) {
  size_t length = strlen(name);
  if (strncmp(line, name, length) != 0) return false;
  seen = true;
  if (strtoul(line + length, nullptr, 10) != 0) written = true;
  return true;
}

void ReadLine(const char* line, TMapping& mapping, TRangeList& releasable) {
  if (IsHexDigit(line[0])) {
    Conclude(mapping, releasable);
    mapping = TMapping();
    unsigned long start;
    unsigned long end;
    char permissions[5];
    int pathOffset = 0;
    if (sscanf(line, "%lx-%lx %4s %*s %*s %*s %n", &start, &end, permissions, &pathOffset) < 3) {
      return;
    }
    const char* path = line + pathOffset;
    mapping.Span = {start, end};
    mapping.ReadOnlyFile = permissions[0] == 'r' && permissions[1] == '-' && path[0] == '/' &&
                           strncmp(path, DevicesFolder, sizeof DevicesFolder - 1) != 0;
    return;
  }
  if (ReadField(line, "Anonymous:", mapping.AnonymousSeen, mapping.Written)) return;
  ReadField(line, "Swap:", mapping.SwapSeen, mapping.Written);
}

void FindReleasableRanges(TRangeList& releasable) {
  int mappings = open(MappingsFile, O_RDONLY | O_CLOEXEC);
  if (mappings < 0) return;
  TMapping mapping;
  char buffer[LineBufferSize];
  size_t used = 0;
  bool skippingLongLine = false;
  for (;;) {
    ssize_t count = read(mappings, buffer + used, sizeof buffer - used);
    if (count <= 0) break;
    used += static_cast<size_t>(count);
    size_t lineStart = 0;
    for (size_t i = 0; i < used; ++i) {
      if (buffer[i] != '\n') continue;
      buffer[i] = '\0';
      if (!skippingLongLine) ReadLine(buffer + lineStart, mapping, releasable);
      skippingLongLine = false;
      lineStart = i + 1;
    }
    memmove(buffer, buffer + lineStart, used - lineStart);
    used -= lineStart;
    if (used == sizeof buffer) {
      mapping = TMapping();
      skippingLongLine = true;
      used = 0;
    }
  }
  close(mappings);
  if (used == 0) Conclude(mapping, releasable);
}

}  // namespace

void TrimWorkingSet() {
  malloc_trim(0);
  TRangeList releasable;
  FindReleasableRanges(releasable);
  for (int i = 0; i < releasable.Count; ++i) {
    const TRange& range = releasable.Items[i];
    madvise(reinterpret_cast<void*>(range.Start), range.End - range.Start, MADV_DONTNEED);
  }
}

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

struct Range {
  uintptr_t Start;
  uintptr_t End;
};

// One mapping of /proc/self/smaps as its lines go by. It may be let go only
// when it is read-only, comes from a file, and holds no private copy of a
// page, in memory or in swap.
struct Mapping {
  Range Span = {0, 0};
  bool ReadOnlyFile = false;
  bool AnonymousSeen = false;
  bool SwapSeen = false;
  bool Written = false;
};

struct RangeList {
  Range Items[MostRanges];
  int Count = 0;
};

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

void Conclude(const Mapping& mapping, RangeList& releasable) {
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

void ReadLine(const char* line, Mapping& mapping, RangeList& releasable) {
  if (IsHexDigit(line[0])) {
    Conclude(mapping, releasable);
    mapping = Mapping();
    unsigned long start;
    unsigned long end;
    char permissions[5];
    int path_offset = 0;
    if (sscanf(line, "%lx-%lx %4s %*s %*s %*s %n", &start, &end, permissions, &path_offset) < 3) {
      return;
    }
    const char* path = line + path_offset;
    mapping.Span = {start, end};
    mapping.ReadOnlyFile = permissions[0] == 'r' && permissions[1] == '-' && path[0] == '/' &&
                           strncmp(path, DevicesFolder, sizeof DevicesFolder - 1) != 0;
    return;
  }
  if (ReadField(line, "Anonymous:", mapping.AnonymousSeen, mapping.Written)) return;
  ReadField(line, "Swap:", mapping.SwapSeen, mapping.Written);
}

void FindReleasableRanges(RangeList& releasable) {
  int mappings = open(MappingsFile, O_RDONLY | O_CLOEXEC);
  if (mappings < 0) return;
  Mapping mapping;
  char buffer[LineBufferSize];
  size_t used = 0;
  bool skipping_long_line = false;
  for (;;) {
    ssize_t count = read(mappings, buffer + used, sizeof buffer - used);
    if (count <= 0) break;
    used += static_cast<size_t>(count);
    size_t line_start = 0;
    for (size_t i = 0; i < used; ++i) {
      if (buffer[i] != '\n') continue;
      buffer[i] = '\0';
      if (!skipping_long_line) ReadLine(buffer + line_start, mapping, releasable);
      skipping_long_line = false;
      line_start = i + 1;
    }
    memmove(buffer, buffer + line_start, used - line_start);
    used -= line_start;
    if (used == sizeof buffer) {
      mapping = Mapping();
      skipping_long_line = true;
      used = 0;
    }
  }
  close(mappings);
  if (used == 0) Conclude(mapping, releasable);
}

}  // namespace

void TrimWorkingSet() {
  malloc_trim(0);
  RangeList releasable;
  FindReleasableRanges(releasable);
  for (int i = 0; i < releasable.Count; ++i) {
    const Range& range = releasable.Items[i];
    madvise(reinterpret_cast<void*>(range.Start), range.End - range.Start, MADV_DONTNEED);
  }
}

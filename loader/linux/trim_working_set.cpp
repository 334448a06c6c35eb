#include "loader/linux/trim_working_set.h"

#include <elf.h>
#include <link.h>
#include <malloc.h>
#include <stdint.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// A few segments for each of the dozen or so objects the loader maps.
constexpr int MostSegments = 64;

struct TSegments {
  uintptr_t Page = 0;
  int Count = 0;
  uintptr_t Start[MostSegments];
  uintptr_t End[MostSegments];
};

// An object whose code is patched at load time holds private copies in its
// read-only segments; dropping them would undo the patches.
bool HasTextRelocations(const dl_phdr_info& object) {
  for (int i = 0; i < object.dlpi_phnum; ++i) {
    const ElfW(Phdr)& segment = object.dlpi_phdr[i];
    if (segment.p_type != PT_DYNAMIC) continue;
    const auto* entry = reinterpret_cast<const ElfW(Dyn)*>(object.dlpi_addr + segment.p_vaddr);
    for (; entry->d_tag != DT_NULL; ++entry) {
      if (entry->d_tag == DT_TEXTREL) return true;
      if (entry->d_tag == DT_FLAGS && (entry->d_un.d_val & DF_TEXTREL) != 0) return true;
    }
  }
  return false;
}

// Only objects mapped from files: the program itself (no name) and the
// libraries (full paths); the kernel's vDSO has neither.
int CollectReadOnlySegments(dl_phdr_info* object, size_t, void* data) {
  auto& found = *static_cast<TSegments*>(data);
  const char* name = object->dlpi_name;
  if ((name[0] != '\0' && name[0] != '/') || HasTextRelocations(*object)) return 0;
  for (int i = 0; i < object->dlpi_phnum && found.Count < MostSegments; ++i) {
    const ElfW(Phdr)& segment = object->dlpi_phdr[i];
    if (segment.p_type != PT_LOAD || (segment.p_flags & PF_W) != 0) continue;
    // Protection is per page, so the pages of a segment that is not
    // writable hold nothing of a segment that is.
    uintptr_t start = object->dlpi_addr + segment.p_vaddr;
    found.Start[found.Count] = start & ~(found.Page - 1);
    found.End[found.Count] = (start + segment.p_memsz + found.Page - 1) & ~(found.Page - 1);
    ++found.Count;
  }
  return 0;
}

}  // namespace

void TrimWorkingSet() {
  malloc_trim(0);
  // All segments are found first and dropped together at the end: reading
  // program headers or running library code between two drops would bring
  // back what the first one let go.
  TSegments segments;
  segments.Page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  dl_iterate_phdr(CollectReadOnlySegments, &segments);
  for (int i = 0; i < segments.Count; ++i) {
    madvise(reinterpret_cast<void*>(segments.Start[i]), segments.End[i] - segments.Start[i], MADV_DONTNEED);
  }
}

namespace {
TSegments CodeSegments;  // a namespace-scope static: no guard from the C++ runtime
}  // namespace

void TrimCodePages() {
  TSegments& segments = CodeSegments;
  if (segments.Page == 0) {
    segments.Page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    dl_iterate_phdr(CollectReadOnlySegments, &segments);
  }
  for (int i = 0; i < segments.Count; ++i) {
    madvise(reinterpret_cast<void*>(segments.Start[i]), segments.End[i] - segments.Start[i], MADV_DONTNEED);
  }
}

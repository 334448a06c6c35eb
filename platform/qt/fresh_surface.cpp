#include "platform/qt/fresh_surface.h"

#include <QBackingStore>
#include <QImage>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>

namespace {

constexpr size_t PageSize = 4096;
// Below this the second thread costs more than it saves.
constexpr size_t SplitSize = 4 << 20;

// Adding zero writes the page without changing a pixel, even of a surface
// that the display server is reading at the same time.
void TouchPages(uintptr_t first, uintptr_t end) {
  for (uintptr_t page = first; page < end; page += PageSize)
    std::atomic_ref<uint32_t>(*reinterpret_cast<uint32_t*>(page)).fetch_add(0, std::memory_order_relaxed);
}

}  // namespace

void FaultInPages(unsigned char* begin, size_t size) {
  const auto start = reinterpret_cast<uintptr_t>(begin);
  const uintptr_t end = start + size;
  // The first whole page onwards; a page begun before it is written soon
  // enough by the paint.
  const uintptr_t first = (start + PageSize - 1) & ~(PageSize - 1);
  if (first >= end) return;
  if (end - first < SplitSize) {
    TouchPages(first, end);
    return;
  }
  const uintptr_t middle = first + ((end - first) / 2 & ~(PageSize - 1));
  // A process at its limit of tasks gets no second thread: this one then
  // does all of the work, as on a small surface.
  std::thread second;
  try {
    second = std::thread(TouchPages, middle, end);
  } catch (const std::system_error&) {
    TouchPages(middle, end);
  }
  TouchPages(first, middle);
  if (second.joinable()) second.join();
}

void TFreshSurface::FaultIn(QWidget& window) {
  QBackingStore* store = window.backingStore();
  auto* image = store ? dynamic_cast<QImage*>(store->paintDevice()) : nullptr;
  if (image == nullptr || image->isNull()) return;
  const std::pair surface(image->constBits(), image->sizeInBytes());
  if (std::find(seen_.begin(), seen_.end(), surface) != seen_.end()) return;
  if (seen_.size() == Remembered) seen_.pop_front();
  seen_.push_back(surface);
  // Through the constant bits: asking for writable ones could copy the image.
  FaultInPages(const_cast<unsigned char*>(surface.first), static_cast<size_t>(surface.second));
}

// A window's surface on a large screen is tens of megabytes of fresh memory
// (33 MB at 3840 x 2160): its first fill stops at a page fault every 4 KiB,
// about 35 ms in all. Faulted in from two threads at once, half of that work
// runs on a second core.
#pragma once

#include <QWidget>
#include <cstddef>
#include <deque>
#include <utility>

// Brings every page of [begin, begin + size) into memory, writable, with its
// contents unchanged; a second thread takes half of a large range.
void FaultInPages(unsigned char* begin, size_t size);

// Faults in a top-level window's surface the first time that it paints into
// it: again after the surface is made anew, never for one already in use.
// Qt on Wayland paints into two or three buffers by turns; each is new once.
class TFreshSurface {
 public:
  void FaultIn(QWidget& window);

 private:
  static constexpr size_t Remembered = 4;
  std::deque<std::pair<const unsigned char*, qsizetype>> seen_;
};

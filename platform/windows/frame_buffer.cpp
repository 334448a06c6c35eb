#include "platform/windows/frame_buffer.h"

#include <algorithm>
#include <cstring>

TFrameBuffer::TFrameBuffer() : dc_(CreateCompatibleDC(nullptr)), initialBitmap_(GetCurrentObject(dc_, OBJ_BITMAP)) {}

TFrameBuffer::~TFrameBuffer() {
  SelectObject(dc_, initialBitmap_);
  if (bitmap_) DeleteObject(bitmap_);
  DeleteDC(dc_);
}

bool TFrameBuffer::Resize(int32_t width, int32_t height) {
  if (width == width_ && height == height_ && bitmap_) return true;
  SelectObject(dc_, initialBitmap_);
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
  if (width <= 0 || height <= 0) return false;
  // A header and the three colour masks: red in the low byte, as in TColor.
  struct {
    BITMAPINFOHEADER header;
    DWORD masks[3];
  } info{};
  info.header.biSize = sizeof(info.header);
  info.header.biWidth = width;
  info.header.biHeight = -height;  // rows from the top, as the canvas keeps them
  info.header.biPlanes = 1;
  info.header.biBitCount = 32;
  info.header.biCompression = BI_BITFIELDS;
  info.masks[0] = 0x0000FF;
  info.masks[1] = 0x00FF00;
  info.masks[2] = 0xFF0000;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return false;
  SelectObject(dc_, bitmap_);
  bits_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

RECT TFrameBuffer::CopyFrom(const TRasterCanvas& canvas) {
  RECT changed{width_, height_, 0, 0};
  if (!bits_) return RECT{};
  GdiFlush();  // GDI may still be writing to the section
  const int32_t width = std::min(width_, canvas.Width()), height = std::min(height_, canvas.Height());
  for (int32_t row = 0; row < height; ++row) {
    const TColor* from = canvas.Pixels().data() + size_t(row) * canvas.Width();
    uint32_t* to = bits_ + size_t(row) * width_;
    // Most rows of a new frame are those of the last one.
    if (std::memcmp(from, to, size_t(width) * sizeof(TColor)) == 0) continue;
    int32_t first = 0, last = width - 1;
    while (from[first] == to[first]) ++first;
    while (from[last] == to[last]) --last;
    std::memcpy(to + first, from + first, size_t(last - first + 1) * sizeof(TColor));
    changed.left = std::min<LONG>(changed.left, first);
    changed.right = std::max<LONG>(changed.right, last + 1);
    changed.top = std::min<LONG>(changed.top, row);
    changed.bottom = row + 1;
  }
  return changed.left < changed.right ? changed : RECT{};
}

void TFrameBuffer::Present(HDC target, int32_t x, int32_t y) const {
  BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

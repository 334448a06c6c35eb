#include "platform/windows/frame_buffer.h"

#include <algorithm>

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
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows from the top, as the canvas keeps them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return false;
  SelectObject(dc_, bitmap_);
  bits_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

void TFrameBuffer::CopyFrom(const TRasterCanvas& canvas) {
  if (!bits_) return;
  GdiFlush();  // GDI may still be writing to the section
  const int32_t width = std::min(width_, canvas.Width()), height = std::min(height_, canvas.Height());
  const TColor* source = canvas.Pixels().data();
  for (int32_t row = 0; row < height; ++row) {
    const TColor* from = source + size_t(row) * canvas.Width();
    uint32_t* to = bits_ + size_t(row) * width_;
    // The canvas keeps red in the low byte, a DIB keeps blue there.
    for (int32_t x = 0; x < width; ++x) {
      const TColor color = from[x];
      to[x] = (color & 0x00FF00) | (color & 0xFF) << 16 | (color >> 16 & 0xFF);
    }
  }
}

void TFrameBuffer::Present(HDC target, int32_t x, int32_t y) const {
  BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

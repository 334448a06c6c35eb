// A 32-bit DIB section with a memory DC of its own: a frame is composed there
// (the pattern from a TRasterCanvas, then whatever GDI draws over it) and
// reaches the window with one BitBlt, so nothing flickers. Its pixels are the
// canvas's own 0x00BBGGRR, so a frame comes over row by row as it is.
#pragma once

#include "platform/windows/win32.h"

#include <cstdint>

#include "paint/raster_canvas.h"

class TFrameBuffer {
 public:
  TFrameBuffer();
  ~TFrameBuffer();
  TFrameBuffer(const TFrameBuffer&) = delete;
  TFrameBuffer& operator=(const TFrameBuffer&) = delete;

  // Makes the buffer width x height, keeping it when it already is; false
  // when GDI cannot have it.
  bool Resize(int32_t width, int32_t height);
  HDC Dc() const { return dc_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // The canvas's pixels at the buffer's top-left corner, as far as both
  // reach; gives the smallest rectangle that holds every pixel it changed.
  RECT CopyFrom(const TRasterCanvas& canvas);
  void Present(HDC target, int32_t x, int32_t y) const;

 private:
  HDC dc_;
  HGDIOBJ initialBitmap_;
  HBITMAP bitmap_ = nullptr;
  uint32_t* bits_ = nullptr;
  int32_t width_ = 0, height_ = 0;
};

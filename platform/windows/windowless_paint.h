// Labels and images have no window of their own: the panel or form under them
// paints them over its picture, in the model's fonts and colours, so that a
// transparent label shows the pattern or panel colour through it.
#pragma once

#include "platform/windows/win32.h"

#include <map>
#include <string>
#include <vector>

#include "platform/windows/gdi_fonts.h"
#include "ui/controls.h"

// The pictures of the program's resources, decoded once, ready for GDI.
class TPictures {
 public:
  struct TPicture {
    int32_t Width = 0, Height = 0;
    std::vector<uint32_t> Pixels;  // blue-first 32-bit pixels, rows from the top
  };
  // Null when the resource is missing or does not decode.
  const TPicture* Find(const std::string& resource);

 private:
  std::map<std::string, TPicture> decoded_;
};

// Paints the labels and images that lie directly on `container`, its
// client area's origin at the DC's origin.
void PaintWindowless(HDC dc, const TControl& container, TGdiFonts& fonts, TPictures& pictures);

// The shown label on `container` at a client point that takes clicks or has
// a cursor of its own; null when there is none.
TLabel* MouseLabelAt(TControl& container, int32_t x, int32_t y);

#include "tools/screenshot/x_screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>

TPixelImage GrabScreen(Display* display, int32_t left, int32_t top, int32_t width, int32_t height) {
  const Window root = DefaultRootWindow(display);
  const int screen = DefaultScreen(display);
  const int32_t right = std::min(left + width, DisplayWidth(display, screen));
  const int32_t bottom = std::min(top + height, DisplayHeight(display, screen));
  left = std::max(left, 0);
  top = std::max(top, 0);
  TPixelImage image;
  if (right <= left || bottom <= top) return image;
  XImage* pixels = XGetImage(display, root, left, top, right - left, bottom - top, AllPlanes, ZPixmap);
  if (pixels == nullptr) return image;
  image.Width = right - left;
  image.Height = bottom - top;
  image.Pixels.resize(size_t(image.Width) * image.Height);
  for (int32_t y = 0; y < image.Height; ++y)
    for (int32_t x = 0; x < image.Width; ++x) {
      // A 24-bit TrueColor visual: red in the high byte, blue in the low.
      const unsigned long pixel = XGetPixel(pixels, x, y);
      image.Pixels[size_t(y) * image.Width + x] = RgbColor(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
    }
  XDestroyImage(pixels);
  return image;
}

TPixelImage GrabScreen(Display* display) {
  const int screen = DefaultScreen(display);
  return GrabScreen(display, 0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen));
}

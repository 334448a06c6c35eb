// x-screenshot FILE.png [LEFT TOP WIDTH HEIGHT]: the X screen of $DISPLAY, or
// a rectangle of it, as a 24-bit PNG.
#include <X11/Xlib.h>

#include <cstdlib>
#include <iostream>

#include "tools/screenshot/x_screen.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 6) {
    std::cerr << "usage: x-screenshot FILE.png [LEFT TOP WIDTH HEIGHT]\n";
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::cerr << "x-screenshot: cannot open the X display\n";
    return 1;
  }
  const TPixelImage image = argc == 6 ? GrabScreen(display, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                                              std::atoi(argv[5]))
                                 : GrabScreen(display);
  XCloseDisplay(display);
  std::string error;
  if (image.Width == 0 || !WritePng(argv[1], image, error)) {
    std::cerr << "x-screenshot: " << (error.empty() ? "no pixels" : error) << '\n';
    return 1;
  }
  return 0;
}

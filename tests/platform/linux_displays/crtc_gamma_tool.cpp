// crtc_gamma: reads or loads the gamma ramp of the first connected RandR
// output's CRTC with plain Xlib calls, independently of Tonemark's code, so
// that tests and benchmarks can check what the video card really holds.
//   crtc_gamma size          prints the ramp's entry count
//   crtc_gamma get           prints red, green, blue entries, one channel a line
//   crtc_gamma set < FILE    loads 3 x size values read from standard input
//   crtc_gamma wait < FILE   polls the ramp every 5 ms until it holds those
//                            values, then prints the wall-clock time in
//                            seconds; exits 1 after 10 s without them
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <thread>
#include <vector>

namespace {

RRCrtc FirstDrivenCrtc(Display* display) {
  XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
  RRCrtc crtc = None;
  for (int i = 0; resources != nullptr && i < resources->noutput && crtc == None; ++i) {
    XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
    if (info != nullptr && info->connection == RR_Connected) crtc = info->crtc;
    if (info != nullptr) XRRFreeOutputInfo(info);
  }
  if (resources != nullptr) XRRFreeScreenResources(resources);
  return crtc;
}

}  // namespace

int main(int argc, char** argv) {
  const char* command = argc > 1 ? argv[1] : "";
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::cerr << "crtc_gamma: cannot open the X display\n";
    return 2;
  }
  const RRCrtc crtc = FirstDrivenCrtc(display);
  if (crtc == None) {
    std::cerr << "crtc_gamma: no connected output with a CRTC\n";
    return 2;
  }
  const int size = XRRGetCrtcGammaSize(display, crtc);
  if (std::strcmp(command, "size") == 0) {
    std::cout << size << "\n";
  } else if (std::strcmp(command, "get") == 0) {
    XRRCrtcGamma* gamma = XRRGetCrtcGamma(display, crtc);
    for (unsigned short* channel : {gamma->red, gamma->green, gamma->blue})
      for (int i = 0; i < size; ++i) std::cout << channel[i] << (i + 1 < size ? ' ' : '\n');
    XRRFreeGamma(gamma);
  } else if (std::strcmp(command, "set") == 0) {
    XRRCrtcGamma* gamma = XRRAllocGamma(size);
    for (unsigned short* channel : {gamma->red, gamma->green, gamma->blue})
      for (int i = 0; i < size; ++i)
        if (!(std::cin >> channel[i])) {
          std::cerr << "crtc_gamma: expected " << 3 * size << " values\n";
          return 2;
        }
    XRRSetCrtcGamma(display, crtc, gamma);
    XRRFreeGamma(gamma);
    XSync(display, False);
  } else if (std::strcmp(command, "wait") == 0) {
    std::vector<unsigned short> wanted(3 * size);
    for (unsigned short& value : wanted)
      if (!(std::cin >> value)) {
        std::cerr << "crtc_gamma: expected " << 3 * size << " values\n";
        return 2;
      }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (bool held = false; !held;) {
      if (std::chrono::steady_clock::now() > deadline) return 1;
      XRRCrtcGamma* gamma = XRRGetCrtcGamma(display, crtc);
      held = std::equal(gamma->red, gamma->red + size, wanted.begin()) &&
             std::equal(gamma->green, gamma->green + size, wanted.begin() + size) &&
             std::equal(gamma->blue, gamma->blue + size, wanted.begin() + 2 * size);
      XRRFreeGamma(gamma);
      if (!held) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf("%.3f\n", std::chrono::duration<double>(now).count());
  } else {
    std::cerr << "usage: crtc_gamma size|get|set|wait\n";
    return 2;
  }
  XCloseDisplay(display);
  return 0;
}

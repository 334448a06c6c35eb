// frame_timer: times what a user sees of a window on an X screen.
//
//   frame_timer first-frame X Y RRGGBB -- COMMAND...
//       starts COMMAND and prints the milliseconds until pixel (X, Y) of the
//       screen shows the colour, then ends COMMAND; it looks every half
//       millisecond, so that it takes neither a core of its own nor the X
//       server's time from the program that it times;
//   frame_timer wait X Y RRGGBB
//       waits until pixel (X, Y) shows the colour;
//   frame_timer clicks N X Y LEFT TOP WIDTH HEIGHT
//       N times: a real button click (XTest) at (X, Y), then the milliseconds
//       until the rectangle's pixels change; prints one figure per click.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "tools/screenshot/x_screen.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto TimeOut = std::chrono::seconds(30);
constexpr auto SettleTime = std::chrono::milliseconds(60);
constexpr auto FirstFramePollPause = std::chrono::microseconds(500);

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

TColor PixelAt(Display* display, int x, int y) {
  const TPixelImage image = GrabScreen(display, x, y, 1, 1);
  return image.Pixels.empty() ? 0 : image.Pixels[0];
}

// Waits until `done` holds, looking again after `pause`; false after the
// time-out.
template <typename Test>
bool WaitFor(const Test& done, Clock::duration pause = Clock::duration::zero()) {
  const Clock::time_point start = Clock::now();
  while (!done()) {
    if (Clock::now() - start > TimeOut) return false;
    std::this_thread::sleep_for(pause);
  }
  return true;
}

int FirstFrame(Display* display, int x, int y, TColor color, char** command) {
  // A window of the last run may still show the colour for a moment.
  WaitFor([&] { return PixelAt(display, x, y) != color; });
  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(command[0], command);
    _exit(127);
  }
  const bool shown = WaitFor([&] { return PixelAt(display, x, y) == color; }, FirstFramePollPause);
  const double elapsed = MillisecondsSince(start);
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  if (!shown) {
    std::cerr << "frame_timer: the colour never showed at " << x << "," << y << '\n';
    return 1;
  }
  std::cout << elapsed << '\n';
  return 0;
}

int Clicks(Display* display, int count, int x, int y, int left, int top, int width, int height) {
  for (int i = 0; i < count; ++i) {
    std::this_thread::sleep_for(SettleTime);
    const TPixelImage before = GrabScreen(display, left, top, width, height);
    const Clock::time_point start = Clock::now();
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(display, 1, True, CurrentTime);
    XTestFakeButtonEvent(display, 1, False, CurrentTime);
    XFlush(display);
    const bool changed =
        WaitFor([&] { return GrabScreen(display, left, top, width, height).Pixels != before.Pixels; });
    if (!changed) {
      std::cerr << "frame_timer: click " << i + 1 << " changed nothing on screen\n";
      return 1;
    }
    std::cout << MillisecondsSince(start) << '\n';
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::cerr << "frame_timer: cannot open the X display\n";
    return 1;
  }
  const std::string mode = argc > 1 ? argv[1] : "";
  const auto color = [&] {
    const unsigned long rgb = std::stoul(argv[4], nullptr, 16);
    return RgbColor(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
  };
  const int x = argc > 3 ? std::atoi(argv[2]) : 0, y = argc > 3 ? std::atoi(argv[3]) : 0;
  if (mode == "first-frame" && argc > 6 && std::string(argv[5]) == "--")
    return FirstFrame(display, x, y, color(), argv + 6);
  if (mode == "wait" && argc == 5) return WaitFor([&] { return PixelAt(display, x, y) == color(); }) ? 0 : 1;
  if (mode == "clicks" && argc == 9)
    return Clicks(display, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                  std::atoi(argv[6]), std::atoi(argv[7]), std::atoi(argv[8]));
  std::cerr << "usage: frame_timer first-frame X Y RRGGBB -- COMMAND...\n"
               "       frame_timer wait X Y RRGGBB\n"
               "       frame_timer clicks N X Y LEFT TOP WIDTH HEIGHT\n";
  return 2;
}

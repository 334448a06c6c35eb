// Where the window lies, how X sees it, and that it re-lays itself out on a
// monitor of another DPI.
#include <QApplication>
#include <QWidget>

#include "tests/platform/qt/qt_window_fixture.h"
#include "tools/screenshot/x_screen.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

const std::vector<std::string> TwoMonitors{"Rect=0,0,1920,1080", "Rect=1920,0,3200,1024\nDpi=144"};

QRect ScreenRect(Display* x, Window window) {
  XWindowAttributes attributes;
  XGetWindowAttributes(x, window, &attributes);
  int left = 0, top = 0;
  Window child;
  XTranslateCoordinates(x, window, DefaultRootWindow(x), 0, 0, &left, &top, &child);
  return QRect(left, top, attributes.width, attributes.height);
}

std::vector<long> LongsProperty(Display* x, Window window, const char* name) {
  Atom type;
  int format;
  unsigned long count, remaining;
  unsigned char* data = nullptr;
  std::vector<long> values;
  if (XGetWindowProperty(x, window, XInternAtom(x, name, False), 0, 64, False, AnyPropertyType, &type, &format,
                         &count, &remaining, &data) == Success && format == 32)
    values.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
  if (data != nullptr) XFree(data);
  return values;
}

TEST_F(QtWindowTest, TheWindowCoversItsMonitorBorderlessOnTopAndHasTheFocus) {
  StartOnSimulatedDisplays(TwoMonitors);
  const Window id = window->winId();
  EXPECT_EQ(ScreenRect(x, id), QRect(0, 0, 1920, 1080));
  // Motif hints: flags with "decorations" set (2), decorations none.
  const std::vector<long> motif = LongsProperty(x, id, "_MOTIF_WM_HINTS");
  ASSERT_GE(motif.size(), 3u);
  EXPECT_TRUE(motif[0] & 2);
  EXPECT_EQ(motif[2], 0);
  const std::vector<long> state = LongsProperty(x, id, "_NET_WM_STATE");
  EXPECT_NE(std::find(state.begin(), state.end(), long(XInternAtom(x, "_NET_WM_STATE_ABOVE", False))), state.end());
  Window focus;
  int revert;
  XGetInputFocus(x, &focus, &revert);
  EXPECT_EQ(focus, id);
}

TEST_F(QtWindowTest, TheBackgroundWindowHandsTheFocusBack) {
  StartOnSimulatedDisplays(TwoMonitors);
  QWidget* background = QApplication::topLevelAt(2500, 500);
  ASSERT_NE(background, nullptr);
  ASSERT_NE(background, window.get());
  EXPECT_EQ(ScreenRect(x, background->winId()), QRect(0, 0, 3200, 1080));
  XSetInputFocus(x, background->winId(), RevertToParent, CurrentTime);
  XSync(x, False);
  EXPECT_TRUE(Until([&] {
    Window focus;
    int revert;
    XGetInputFocus(x, &focus, &revert);
    return focus == window->winId() && QApplication::activeWindow() == window.get();
  }));
}

TEST_F(QtWindowTest, NextDisplayMovesTheWindowAndLaysItOutAtThatMonitorsDpi) {
  StartOnSimulatedDisplays(TwoMonitors);
  Click(Form().NextDisplayButton);
  ASSERT_TRUE(Until([&] { return Form().PixelsPerInch == 144; }));
  ShowNow();
  EXPECT_EQ(ScreenRect(x, window->winId()), QRect(1920, 0, 1280, 1024));
  // A bar of 53 x 1.5 pixels, OK 104 x 1.5 from its right end.
  EXPECT_EQ(window->WidgetOf(Form().Panel)->geometry(), QRect(0, 944, 1280, 80));
  EXPECT_EQ(window->WidgetOf(Form().OkButton)->geometry(), QRect(1124, 6, 150, 33));
  EXPECT_EQ(GrabScreen(x, 1922, 1023, 1, 1).Pixels, std::vector<TColor>{Silver});
}

}  // namespace

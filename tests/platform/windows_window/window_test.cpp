// The real calibration window under Wine: where it stands, how it stacks and
// takes the focus, and what real clicks on it do to the simulated displays,
// the curve files and the start-up shortcut.
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/windows/background_window.h"
#include "platform/windows/main_window_view.h"
#include "tests/platform/windows_window/model_window.h"
#include "tests/platform/windows_window/screen_picture.h"
#include "tests/platform/windows_window/tonemark_session.h"

namespace {

constexpr const char* OneDisplay = "[Monitor1]\r\nRect=0,0,1920,1080\r\n";
// The second display is smaller and denser, right of the first.
constexpr const char* TwoDisplays = "[Monitor1]\r\nRect=0,0,1920,1080\r\n[Monitor2]\r\nRect=1920,0,3200,720\r\nDpi=144\r\n";

bool Equal(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

bool TopMost(HWND window) { return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The push button showing `caption`, pressed.
void ClickButton(TonemarkSession& session, const std::string& caption) {
  for (HWND button : session.Children("Button")) {
    char text[64] = {};
    SendMessageA(button, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (caption != text) continue;
    // Pressed as the keyboard presses it: a click at a screen point could
    // land on Cancel, just under OK, while the window still settles.
    PostMessageA(button, BM_CLICK, 0, 0);
    return;
  }
  ADD_FAILURE() << "no button " << caption;
}

// The bar: the panel along the window's bottom edge, as wide as the window.
RECT Bar(TonemarkSession& session) {
  const RECT window = session.WindowRect(session.Window());
  for (const RECT& panel : session.ChildRects(PanelClassName))
    if (panel.bottom == window.bottom && panel.left == window.left && panel.right == window.right) return panel;
  return RECT{};
}

std::string StartupShortcut() {
  char folder[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::string(folder) + "\\Tonewatch.lnk";
}

TEST(Window, CoversItsDisplayOnTopWithTheFocusWhileTheBackgroundCoversTheDesktop) {
  TonemarkSession session(TwoDisplays);
  ASSERT_TRUE(session.Start());
  const HWND window = session.Window();
  EXPECT_PRED2(Equal, session.WindowRect(window), (RECT{0, 0, 1920, 1080})) << Text(session.WindowRect(window));
  EXPECT_TRUE(TopMost(window));
  EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }));
  GUITHREADINFO thread{};
  thread.cbSize = sizeof(thread);
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
  EXPECT_TRUE(thread.hwndFocus == window || IsChild(window, thread.hwndFocus));
  EXPECT_EQ(Bar(session).top, 1080 - 53);
  // It sees monitors as they are: per-monitor DPI aware.
  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(window)),
            DPI_AWARENESS_PER_MONITOR_AWARE);

  // The background window comes right after the calibration window.
  HWND background = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (background = session.TopLevel(BackgroundClassName)) != nullptr; }));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(background) != FALSE; }));
  EXPECT_FALSE(TopMost(background));
  EXPECT_PRED2(Equal, session.WindowRect(background), (RECT{0, 0, 3200, 1080}));

  // On the second display the window follows its rectangle and its 144 DPI.
  ClickButton(session, "Next Display");
  ASSERT_TRUE(WaitUntil([&] { return Equal(session.WindowRect(window), RECT{1920, 0, 3200, 720}); }))
      << Text(session.WindowRect(window));
  EXPECT_TRUE(WaitUntil([&] { return Bar(session).top == 720 - 80; })) << Bar(session).top;

  // A click on the background, now free on the first display, activates it,
  // and it hands the foreground straight back.
  session.Click(400, 300);
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }));

  ClickButton(session, "Minimize");
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(window) && !IsWindowVisible(background); }));
  EXPECT_FALSE(TopMost(window));

  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD exitCode = 99;
  ASSERT_TRUE(session.WaitForExit(exitCode));
  EXPECT_EQ(exitCode, 0u);
}

TEST(Window, ARealClickOnAnUpArrowLoadsTheRampAndCancelPutsTheOldOneBack) {
  TonemarkSession session(OneDisplay);
  ASSERT_TRUE(session.Start());
  for (int page = 0; page < 3; ++page) session.Keys({VK_CONTROL, VK_TAB});  // to Gamma
  std::vector<HWND> arrows;
  ASSERT_TRUE(WaitUntil([&] { return (arrows = session.Children(UPDOWN_CLASSA)).size() == 4; }));
  std::sort(arrows.begin(), arrows.end(),
            [&](HWND a, HWND b) { return session.WindowRect(a).top < session.WindowRect(b).top; });
  // The red row's up arrow: the upper half of its up-down.
  const RECT red = session.WindowRect(arrows[1]);
  session.Click((red.left + red.right) / 2, red.top + 4);
  ASSERT_TRUE(WaitUntil([&] { return session.Ramp(1) != IdentityRamp(); }));
  const TGammaRamp ramp = session.Ramp(1);
  const TGammaRamp identity = IdentityRamp();
  EXPECT_NE(ramp[100], identity[100]);                        // red
  EXPECT_TRUE(std::equal(ramp.begin() + 256, ramp.end(), identity.begin() + 256));  // green and blue

  ClickButton(session, "Cancel");
  DWORD exitCode = 99;
  ASSERT_TRUE(session.WaitForExit(exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(session.Ramp(1), IdentityRamp());
  EXPECT_FALSE(std::filesystem::exists(session.ProgramFile("Tonemark1.lut")));
}

TEST(Window, OkWritesEveryDisplaysCurveFileAndTheStartupShortcut) {
  const std::string shortcut = StartupShortcut();
  DeleteFileA(shortcut.c_str());
  TonemarkSession session(TwoDisplays);
  ASSERT_TRUE(session.Start());
  ClickButton(session, "OK");
  DWORD exitCode = 99;
  ASSERT_TRUE(session.WaitForExit(exitCode));
  EXPECT_EQ(exitCode, 0u);
  for (const char* name : {"Tonemark1.lut", "Tonemark2.lut"})
    EXPECT_EQ(ReadBytes(session.ProgramFile(name)).substr(0, 15), "RampCurve v.2\r\n") << name;
  EXPECT_TRUE(std::filesystem::exists(shortcut)) << shortcut;
  DeleteFileA(shortcut.c_str());
}

// The cursor that the screen shows once the mouse rests at (x, y).
HCURSOR CursorAt(int x, int y) {
  SetCursorPos(x, y);
  Sleep(1000);
  CURSORINFO cursor{};
  cursor.cbSize = sizeof(cursor);
  GetCursorInfo(&cursor);
  return cursor.hCursor;
}

// The dialog's file name, typed in, and Enter.
void ChooseInDialog(TonemarkSession& session, const std::string& path) {
  HWND dialog = nullptr, name = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (dialog = session.TopLevel("#32770")) != nullptr && IsWindowVisible(dialog); }));
  ASSERT_TRUE(WaitUntil([&] { return (name = FindWindowExA(dialog, nullptr, "ComboBoxEx32", nullptr)) != nullptr; }));
  HWND edit = FindWindowExA(FindWindowExA(name, nullptr, "ComboBox", nullptr), nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }));
  session.Keys({VK_RETURN});
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
}

TEST(Window, AFileThatIsNoJpegLeavesThePictureShownBefore) {
  TModelWindow model(OneDisplay);
  model.Form().ShowPage(12);
  const TLabel& label = model.Form().FileLabel;
  // The file label's right end stays put whatever file it names.
  const POINT onLabel{label.Left + label.Width - 3, label.Top + label.Height / 2};
  TonemarkSession session(OneDisplay);
  const std::string photo = session.Folder() + "photo.jpg", fake = session.Folder() + "fake.jpg";
  ASSERT_TRUE(CopyFileA((WinePath(std::getenv("TONEMARK_SOURCE_DIR")) + "\\resources\\Tonemark.reference.jpg").c_str(),
                        photo.c_str(), FALSE));
  WriteBytes(fake, "not a JPEG at all");
  ASSERT_TRUE(session.Start());
  session.Keys({VK_CONTROL, VK_SHIFT, VK_TAB});  // Welcome back round to Reference Image
  const RECT middle{860, 440, 1060, 640};
  // Black once the page has come: on a busy machine the Welcome page may
  // still show there for a moment.
  TPicture black;
  ASSERT_TRUE(WaitUntil([&] {
    black = CaptureScreen(middle);
    return std::all_of(black.Pixels.begin(), black.Pixels.end(), [](TColor pixel) { return pixel == 0; });
  }));

  // The label has a cursor of its own (the system's hand; Wine gives each
  // process its own handle for it, so only the change can be seen from here).
  const HCURSOR onPattern = CursorAt(onLabel.x, onLabel.y - 100);
  EXPECT_NE(CursorAt(onLabel.x, onLabel.y), onPattern);
  session.Click(onLabel.x, onLabel.y);
  ChooseInDialog(session, photo);
  TPicture shown;
  ASSERT_TRUE(WaitUntil([&] { return (shown = CaptureScreen(middle)).Pixels != black.Pixels; }));
  // The page with the photograph, for review beside the other pages' screenshots.
  const std::string shots = WinePath(std::getenv("TONEMARK_SCREENSHOTS"));
  std::filesystem::create_directories(shots);
  EXPECT_TRUE(WritePng(shots + "\\page12-photo.png", CaptureScreen(session.WindowRect(session.Window()))));

  // However long the choice took, the system is to take the next click as the
  // second of a double click: the label still opens its dialog on it.
  const UINT doubleClickMs = GetDoubleClickTime();
  SetDoubleClickTime(600000);
  session.Click(onLabel.x, onLabel.y);
  ChooseInDialog(session, fake);
  SetDoubleClickTime(doubleClickMs);
  EXPECT_TRUE(WaitUntil([&] { return session.Messages().find("fake.jpg") != std::string::npos; })) << session.Messages();
  EXPECT_EQ(CaptureScreen(middle).Pixels, shown.Pixels);
  ClickButton(session, "Cancel");
  DWORD exitCode = 99;
  ASSERT_TRUE(session.WaitForExit(exitCode));
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace

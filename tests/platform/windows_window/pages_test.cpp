// Every page of the real window, screenshot by screenshot, against the
// reviewed pictures of the pattern renderer: equal pixel for pixel wherever
// the control model puts no control, panel or text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <utility>

#include "tests/platform/windows_window/model_window.h"
#include "tests/platform/windows_window/screen_picture.h"
#include "tests/platform/windows_window/tonemark_session.h"

namespace {

constexpr const char* OneDisplay = "[Monitor1]\r\nRect=0,0,1920,1080\r\n";
constexpr int PageCount = 13;
constexpr int HighlightsPage = 9, ShadowsPage = 10;
// The renderer's pictures show level 127; Highlights and Shadows move to
// these levels when they are shown.
constexpr const char* HighlightsPoint = "240";
constexpr const char* ShadowsPoint = "12";
// The captions over the squares of the Black Point and White Point pages:
// the window writes them in Tahoma, the renderer in its block font.
constexpr TRect SquareCaptions{520, 468, 1420, 488};
constexpr DWORD PageTimeoutMs = 20000;
constexpr DWORD SettleMs = 300;

std::string PageName(int page) { return (page < 10 ? "page0" : "page") + std::to_string(page); }

// The point selector shows `level`; it is set back to 127 as a user would type it.
void PointBackTo127(TonemarkSession& session, const char* level) {
  HWND selector = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND edit : session.Children("Edit")) {
      char text[16] = {};
      SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));  // another process's control
      if (std::string(text) == level) selector = edit;
    }
    return selector != nullptr;
  }, PageTimeoutMs)) << "no edit shows " << level;
  SendMessageA(selector, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("127"));
}

TEST(WindowPages, EveryPageShowsTheRenderersPictureWhereNoControlIs) {
  const std::string golden = WinePath(std::getenv("TONEMARK_SOURCE_DIR")) + "\\tests\\paint\\golden\\";
  const std::string shots = WinePath(std::getenv("TONEMARK_SCREENSHOTS")) + "\\";
  std::filesystem::create_directories(shots);
  TModelWindow model(OneDisplay);
  TonemarkSession session(OneDisplay);
  ASSERT_TRUE(session.Start());
  const RECT area = session.WindowRect(session.Window());
  for (int page = 0; page < PageCount; ++page) {
    // Ctrl+Tab to the next page.
    if (page > 0) session.Keys({VK_CONTROL, VK_TAB});
    if (page == HighlightsPage) PointBackTo127(session, HighlightsPoint);
    if (page == ShadowsPage) PointBackTo127(session, ShadowsPoint);
    TPicture expected;
    ASSERT_TRUE(ReadPng(golden + PageName(page) + "-1920x1080-96.png", expected)) << page;
    std::vector<TRect> leftOut = model.Covered(page);
    if (page == 1 || page == 2) leftOut.push_back(SquareCaptions);
    TPicture shot;
    const bool matches = WaitUntil([&] {
      shot = CaptureScreen(area);
      return DifferenceOutside(expected, shot, leftOut).empty();
    }, PageTimeoutMs);
    // The screenshot for review shows the page once the controls, panels and
    // texts on it are painted too: the screen stays the same for a while.
    WaitUntil([&] {
      Sleep(SettleMs);
      TPicture later = CaptureScreen(area);
      const bool same = later.Pixels == shot.Pixels;
      shot = std::move(later);
      return same;
    }, PageTimeoutMs);
    EXPECT_TRUE(WritePng(shots + PageName(page) + ".png", shot));
    EXPECT_TRUE(matches) << PageName(page) << ": " << DifferenceOutside(expected, shot, leftOut);
  }
}

}  // namespace

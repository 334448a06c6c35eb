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
// The captions over the squares of the Black Point and White Point pages:
// the window writes them in Tahoma, the renderer in its block font.
constexpr TRect SquareCaptions{520, 468, 1420, 488};
constexpr DWORD SettleMs = 300;

std::string PageName(int page) { return (page < 10 ? "page0" : "page") + std::to_string(page); }

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

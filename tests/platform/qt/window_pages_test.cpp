// Every page as the screen shows it, against the page renderer's picture of
// it: the same pixels wherever no control, panel or text lies over the pattern.
#include "paint/background_form.h"
#include "paint/page_state.h"
#include "tests/platform/qt/page_comparison.h"
#include "tests/platform/qt/qt_window_fixture.h"
#include "tools/screenshot/x_screen.h"

#include <X11/keysym.h>

namespace {

using QtWindowPages = QtWindowTest;

TEST_F(QtWindowPages, CtrlTabWalksEveryPageAndEachShowsTheRenderersPattern) {
  StartOnSimulatedDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3200,1024"});
  for (int32_t page = 0; page < PageCount; ++page) {
    if (page > 0) {
      PressKey(XK_Tab, {XK_Control_L});
      ASSERT_TRUE(Until([&] { return CurrentPage == page; })) << page;
    }
    ShowNow();
    const TPixelImage shown = WindowPixels();
    const TPixelImage expected = RenderedPage(page, program.File("page.png"));
    ASSERT_EQ(shown.Width, expected.Width);
    const TPatternComparison comparison = ComparePattern(Form(), shown, expected);
    EXPECT_EQ(comparison.Differences, 0) << "page " << page;
    EXPECT_GT(comparison.Compared, 1920 * 500) << "page " << page;
    // The background window shows the page's colour on the other monitor.
    EXPECT_EQ(GrabScreen(x, 3199, 0, 1, 1).Pixels, std::vector<TColor>{BackgroundColor(page)}) << "page " << page;
  }
}

}  // namespace

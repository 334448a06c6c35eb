// The preview inside the real window, on a simulated display that takes no
// live ramp (Fail=live): every free pixel of every page is tonemark-render's
// pattern mapped through the ramp that the session asked the display to
// load, and LUT Off shows the pattern as it is.
#include "paint/page_state.h"
#include "tests/platform/sim/preview_pixels.h"
#include "tests/platform/qt/page_comparison.h"
#include "tests/platform/qt/qt_window_fixture.h"

namespace {

// Where the curve graph's lines lie at 1920 x 1080 and 96 ppi: its 256-pixel
// square (its curves end one column to the right), centred, 8 from the top.
// The preview leaves them as they are, so they are compared in paint_test.
const TRect GraphLines{832, 8, 832 + 257, 8 + 256};

class QtWindowPreview : public QtWindowTest {
 protected:
  void ClickUntil(const TControl& upDown, double heightFraction, const TEdit& edit, const std::string& value) {
    for (int i = 0; i < 20 && edit.Text != value; ++i) {
      Click(upDown, heightFraction);
      Until([&] { return edit.Text == value; });
    }
    ASSERT_EQ(edit.Text, value);
  }

  void ExpectPage(const TPixelImage& expected, const std::string& what) {
    ShowNow();
    const TPatternComparison comparison = ComparePattern(Form(), WindowPixels(), expected, {GraphLines});
    EXPECT_EQ(comparison.Differences, 0) << what;
    EXPECT_GT(comparison.Compared, 1920 * 500) << what;
  }
};

TEST_F(QtWindowPreview, EveryPageShowsTheRenderersPatternThroughTheEditedRampAndLutOffShowsItAsItIs) {
  StartOnSimulatedDisplays({"Rect=0,0,1920,1080\nFail=live", "Rect=1920,0,3200,1024"});
  ClickTab(AllControlsPage);
  ClickUntil(Form().BlackUpDown, 0.25, Form().BlackEdit, "6");
  ClickUntil(Form().GammaUpDown, 0.25, Form().GammaEdit, "8");
  ClickUntil(Form().BalanceRUpDown, 0.75, Form().BalanceREdit, "-12");
  const std::vector<uint32_t> ramp = LastRefusedRamp(ReadBytes(SimFile("log.txt")), 1);
  ASSERT_EQ(ramp.size(), 768u);
  ASSERT_NE(ramp[10], 10u * 257);  // the edits moved the ramp away from the identity

  for (int32_t page = 0; page < PageCount; ++page) {
    ClickTab(page);
    ExpectPage(MappedThroughRamp(RenderedPage(page, program.File("page.png")), ramp), "page " + std::to_string(page));
  }
  // The panels stand on the mapped window colour.
  ClickTab(BlackPointPage);
  ShowNow();
  const TPanel& panel = Form().BlackPanel;
  const TPixelImage shown = WindowPixels();
  EXPECT_EQ(shown.Pixels[size_t(panel.Top + 1) * shown.Width + panel.Left + 1],
            MappedThroughRamp(TPixelImage{1, 1, {Black}}, ramp).Pixels[0]);

  ClickTab(GradientPage);
  Click(Form().OffButton);
  ASSERT_TRUE(Until([&] { return !Form().LutActive; }));
  ExpectPage(RenderedPage(GradientPage, program.File("page.png")), "LUT Off");
  Click(Form().OffButton);
  ASSERT_TRUE(Until([&] { return Form().LutActive; }));
  ExpectPage(MappedThroughRamp(RenderedPage(GradientPage, program.File("page.png")), ramp), "LUT On");
}

}  // namespace

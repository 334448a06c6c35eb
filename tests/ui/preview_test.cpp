// The preview inside the window, for a display that takes no live ramp
// (simulated with Fail=live): the window draws its pattern through the
// edited ramp, and says so in the bar.
#include "paint/raster_canvas.h"
#include "tests/ui/window_fixture.h"

namespace {

class PreviewTest : public WindowTest {
 protected:
  void Start() {
    WriteLanguage("English", "LPreviewInWindow=Previewed here: %r.\r\nLRampRefused=Refused.\r\n");
    StartDisplays({"Rect=0,0,1920,1080\nFail=live", "Rect=1920,0,3840,1080"});
    CreateForm();
  }
  TColor PaintedCorner() {
    TRasterCanvas canvas(form->Window.Width, form->Window.Height);
    form->FormPaint(canvas);
    return canvas.Pixel(0, 0);
  }
};

TEST_F(PreviewTest, TheBarSaysThePreviewIsInsideTheWindowAndWhy) {
  Start();
  EXPECT_TRUE(form->PreviewInWindow);
  EXPECT_TRUE(form->RampRefusedLabel.Showing());
  EXPECT_EQ(form->RampRefusedLabel.Caption, "Previewed here: this display takes no live gamma ramp.");
  form->TranslateCaptions();
  EXPECT_EQ(form->RampRefusedLabel.Caption, "Previewed here: this display takes no live gamma ramp.");
  form->NextDisplayButton.Click();
  EXPECT_FALSE(form->PreviewInWindow);
  EXPECT_FALSE(form->RampRefusedLabel.Showing());
}

TEST_F(PreviewTest, TheWindowColourFollowsTheEditedRampAndLutOffShowsItUnmapped) {
  Start();
  form->TabSet.SetTabIndex(BlackPointPage);
  EXPECT_EQ(form->Window.Color, Black);
  form->BlackRUpDown.SetPosition(40);
  // The ramp that the display refused is the one the window shows.
  EXPECT_EQ(LogLines().back().substr(0, 14), "set 1 refused ");
  const TColor raised = form->Window.Color;
  EXPECT_GT(RedOf(raised), 0);
  EXPECT_EQ(GreenOf(raised), 0);
  EXPECT_EQ(BlueOf(raised), 0);
  EXPECT_EQ(form->BlackPanel.EffectiveColor(), raised);
  EXPECT_EQ(PaintedCorner(), raised);

  const int repaints = view.Repaints;
  form->OffButton.Click();
  EXPECT_EQ(form->Window.Color, Black);
  EXPECT_EQ(PaintedCorner(), Black);
  EXPECT_GT(view.Repaints, repaints);
  form->OffButton.Click();
  EXPECT_EQ(form->Window.Color, raised);
}

TEST_F(PreviewTest, ADisplayThatTakesItsRampsKeepsThePageColour) {
  Start();
  form->NextDisplayButton.Click();
  form->TabSet.SetTabIndex(BlackPointPage);
  form->BlackRUpDown.SetPosition(40);
  EXPECT_EQ(form->Window.Color, Black);
  EXPECT_EQ(PaintedCorner(), Black);
}

}  // namespace

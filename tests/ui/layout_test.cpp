// Where the window and its bar's controls stand, at 96 and 144 DPI and after
// the system reports a new DPI.
#include "tests/ui/window_fixture.h"

namespace {

std::vector<std::string> Names(const std::vector<TControl*>& controls) {
  std::vector<std::string> names;
  for (const TControl* control : controls) names.push_back(control->Name);
  return names;
}

class LayoutTest : public WindowTest {};

TEST_F(LayoutTest, At96DpiTheRightHandButtonsAnchorToTheEndOfA1920Bar) {
  StartDisplays({"Rect=0,0,1920,1080"});
  CreateForm(96);
  EXPECT_EQ(form->OkButton.Left, 1816);
  EXPECT_EQ(form->CancelButton.Left, 1816);
  EXPECT_EQ(form->ResetButton.Left, 1712);
  EXPECT_EQ(form->MinimizeButton.Left, 1712);
  EXPECT_EQ(form->OffButton.Left, 1608);
  EXPECT_EQ(form->TabSet.Left, 1);
  EXPECT_EQ(form->TabSet.Width, 1705);
  EXPECT_EQ(form->Panel.Height, 53);
  EXPECT_EQ(form->Panel.Top, 1027);
  EXPECT_EQ(form->Panel.Width, 1920);
  EXPECT_EQ(form->PatternHeight(), 1027);
  // The other bar controls keep their design places.
  EXPECT_EQ(form->DisplayComboBox.Left, 58);
  EXPECT_EQ(form->StandardComboBox.Left, 396);
  EXPECT_EQ(form->OkButton.Top, 4);
  EXPECT_EQ(form->CancelButton.Top, 28);
}

TEST_F(LayoutTest, At144DpiTheBarIs80HighAndTheButtons156Apart) {
  StartDisplays({"Rect=0,0,1920,1080"});
  CreateForm(144);
  EXPECT_EQ(form->PixelsPerInch, 144);
  EXPECT_EQ(form->Panel.Height, 80);
  EXPECT_EQ(form->Panel.Top, 1000);
  EXPECT_EQ(form->OkButton.Left, 1764);
  EXPECT_EQ(form->ResetButton.Left, 1608);
  EXPECT_EQ(form->OffButton.Left, 1452);
  EXPECT_EQ(form->OkButton.Width, 150);
  EXPECT_EQ(form->OkButton.Height, 33);
  // 1920 - 150 - 150 - 23 (15 x 1.5 rounded away from zero).
  EXPECT_EQ(form->TabSet.Width, 1597);
  EXPECT_EQ(form->Window.Font.Height, -17);
}

TEST_F(LayoutTest, ADpiChangeRescalesEverythingAndKeepsTheWindowOnItsDisplay) {
  StartDisplays({"Rect=0,0,1920,1080", "Rect=1920,-200,3840,880"});
  CreateForm(96);
  form->SelectDisplay(1);
  const int repaints = view.Repaints;
  form->DpiChanged(0x00900090);  // 144 in both words
  EXPECT_EQ(view.Repaints, repaints + 1);
  EXPECT_EQ(form->PixelsPerInch, 144);
  EXPECT_EQ(form->Window.Left, 1920);
  EXPECT_EQ(form->Window.Top, -200);
  EXPECT_EQ(form->Window.Width, 1920);
  EXPECT_EQ(form->Window.Height, 1080);
  EXPECT_EQ(form->Panel.Top, 1000);
  EXPECT_EQ(form->OkButton.Left, 1764);
  EXPECT_EQ(form->CancelButton.Left, 1764);
  EXPECT_EQ(form->ResetButton.Left, 1608);
  EXPECT_EQ(form->MinimizeButton.Left, 1608);
  EXPECT_EQ(form->OffButton.Left, 1452);
  EXPECT_EQ(form->TabSet.Width, 1597);
  // Panel controls: 66, 34, 35 x 21 at 96 DPI.
  EXPECT_EQ(form->GammaREdit.Left, 99);
  EXPECT_EQ(form->GammaREdit.Top, 51);
  EXPECT_EQ(form->GammaREdit.Width, 53);
  EXPECT_EQ(form->GammaREdit.Height, 32);
  EXPECT_EQ(form->LangLabel.Top, -5);  // -3 x 1.5, halves away from zero

  form->DpiChanged(96);
  EXPECT_EQ(form->Panel.Height, 53);
  EXPECT_EQ(form->OkButton.Left, 1816);
  EXPECT_EQ(form->OffButton.Left, 1608);
  EXPECT_EQ(form->TabSet.Width, 1705);
  EXPECT_EQ(form->Window.Font.Height, -11);
}

TEST_F(LayoutTest, AZeroDpiIsIgnored) {
  StartDisplays({"Rect=0,0,1920,1080"});
  CreateForm(96);
  form->DpiChanged(0x00900000);  // the low word is what counts
  EXPECT_EQ(form->PixelsPerInch, 96);
  EXPECT_EQ(form->OkButton.Left, 1816);
}

TEST_F(LayoutTest, PanelsAndTheirControlsHaveTheirDesignGeometry) {
  StartDisplays({"Rect=0,0,1920,1080"});
  CreateForm(96);
  EXPECT_EQ(form->GammaPanel.Width, 121);
  EXPECT_EQ(form->WhitePanel.Width, 123);
  EXPECT_EQ(form->PointPanel.Width, 247);
  EXPECT_EQ(form->BalancePanel.Height, 142);
  EXPECT_EQ(form->BlackUpDown.Left, 101);
  EXPECT_EQ(form->BlackBEdit.Top, 88);
  EXPECT_EQ(form->BlackBEdit.Color, RgbColor(0, 0, 255));
  EXPECT_EQ(form->BlackBEdit.EffectiveFont(), (TControlFont{"Tahoma", -11, false, false, White}));
  EXPECT_EQ(form->BlackGEdit.Color, RgbColor(0, 128, 0));
  EXPECT_EQ(form->BlackResetButton.Caption, ">0<");
  EXPECT_EQ(form->BlackRLabel.Caption, "R:");
  EXPECT_EQ(form->PointPosUpDown.Min, 0);
  EXPECT_EQ(form->PointPosUpDown.Max, 255);
  EXPECT_EQ(form->GammaUpDown.Min, -100);
  EXPECT_EQ(form->GammaUpDown.Max, 100);
  EXPECT_EQ(form->PointClearButton.Width, 115);
  EXPECT_EQ(form->PointPosEdit.Color, Silver);
  EXPECT_EQ(form->FileLabel.Font.Color, RgbColor(98, 98, 255));
  EXPECT_TRUE(form->FileLabel.Font.Underline);
  EXPECT_EQ(form->Panel.Color, Silver);
  EXPECT_FALSE(form->OkButton.TabStop);
}

TEST_F(LayoutTest, TheBarLiesAboveAWelcomePanelThatReachesIntoIt) {
  StartDisplays({"Rect=0,0,1280,720\nDpi=144"});
  CreateForm(144);
  EXPECT_GT(form->WelcomePanel.Top + form->WelcomePanel.Height, form->Panel.Top);
  const std::vector<TControl*> stack = StackingOrder(form->Window);
  EXPECT_EQ(stack.back(), &form->Panel);
  // The others keep the order they were made in: the language list lies on the Welcome panel.
  EXPECT_LT(std::find(stack.begin(), stack.end(), &form->WelcomePanel),
            std::find(stack.begin(), stack.end(), &form->LangPanel));
}

TEST_F(LayoutTest, TheTabKeyVisitsTheBarsListsThenThePanelsInTheirOrder) {
  StartDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3840,1080"});
  CreateForm(96);
  form->ShowPage(7);
  const std::vector<std::string> expected = {
      "DisplayComboBox", "StandardComboBox", "BlackEdit", "BlackREdit", "BlackGEdit", "BlackBEdit",
      "BlackResetButton", "WhiteEdit", "WhiteREdit", "WhiteGEdit", "WhiteBEdit", "WhiteResetButton",
      "PointEdit", "PointREdit", "PointGEdit", "PointBEdit", "PointResetButton", "PointCheckBox",
      "PointPosEdit", "PointPrevButton", "PointNextButton", "PointClearButton", "BalanceREdit",
      "BalanceGEdit", "BalanceBEdit", "BalanceResetButton", "GammaEdit", "GammaREdit", "GammaGEdit",
      "GammaBEdit", "GammaResetButton"};
  EXPECT_EQ(Names(FocusOrder(form->Window)), expected);
  form->ShowPage(0);
  EXPECT_EQ(Names(FocusOrder(form->Window)),
            (std::vector<std::string>{"DisplayComboBox", "StandardComboBox", "LangComboBox"}));
}

TEST_F(LayoutTest, WithOneDisplayTheDisplayChooserTakesNoFocus) {
  StartDisplays({"Rect=0,0,1920,1080"});
  CreateForm(96);
  form->ShowPage(0);
  EXPECT_EQ(Names(FocusOrder(form->Window)), (std::vector<std::string>{"StandardComboBox", "LangComboBox"}));
}

}  // namespace

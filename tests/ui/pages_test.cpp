// Pages: panel places and colours, the help text, captions in the chosen
// language, the reference picture's label, and the tab keys.
#include "paint/raster_canvas.h"
#include "tests/ui/window_fixture.h"

namespace {

class TTestBackground : public TBackgroundView {
 public:
  void Repaint() override { ++Repaints; }
  void Hide() override { Hidden = true; }
  int Repaints = 0;
  bool Hidden = false;
};

class PagesTest : public WindowTest {
 protected:
  void Start(const std::string& monitor = "Rect=0,0,1920,1080", int32_t dpi = 96) {
    StartDisplays({monitor});
    CreateForm(dpi);
  }
  std::vector<std::string> ShownPanels() {
    std::vector<std::string> names;
    for (TControl* control : form->Window.Children)
      if (control->Visible && control->Kind == TControlKind::Panel && control != &form->Panel)
        names.push_back(control->Name);
    return names;
  }
};

TEST_F(PagesTest, TheWindowOpensOnTheWelcomePageWithoutHelpText) {
  Start();
  EXPECT_EQ(CurrentPage, 0);
  EXPECT_EQ(form->TabSet.TabIndex, 0);
  EXPECT_EQ(ShownPanels(), (std::vector<std::string>{"WelcomePanel", "LangPanel"}));
  EXPECT_FALSE(form->HelpLabel.Visible);
  EXPECT_EQ(form->Window.Color, Black);
  EXPECT_EQ(form->AboutImage.Top, 45);
  EXPECT_EQ(form->AboutImage.Width, 256);
  EXPECT_EQ(form->WelcomeLabel.Left, 280);
  EXPECT_EQ(form->WelcomeLabel.Top, 51);
  EXPECT_EQ(form->WelcomePanel.Width, 870);
  EXPECT_EQ(form->WelcomePanel.Height, 531);
  EXPECT_EQ(form->WelcomePanel.Left, 525);
  EXPECT_EQ(form->WelcomePanel.Top, 275);
  EXPECT_EQ(form->LangPanel.Left, 535);
  EXPECT_EQ(form->LangPanel.Top, 600);
  EXPECT_EQ(form->AppWelcomeLabel.Caption, "Tonemark 4.1.1");
  EXPECT_EQ(form->AppWelcomeLabel.Font.Height, -24);
  EXPECT_EQ(form->AppWelcomeLabel.Font.Color, Grey(144));
}

TEST_F(PagesTest, EachPageShowsItsPanelsAboveTheBarInItsColours) {
  Start();
  struct Expected {
    int32_t page;
    std::vector<std::string> panels;
    TColor window, help;
  };
  const std::vector<Expected> pages = {
      {1, {"BlackPanel"}, Black, Grey(130)},
      {2, {"WhitePanel"}, White, Grey(100)},
      {3, {"GammaPanel"}, Black, Grey(130)},
      {4, {"GammaPanel"}, Black, Grey(130)},
      {5, {"BlackPanel", "WhitePanel", "BalancePanel"}, Grey(56), Grey(160)},
      {6, {"PointPanel"}, Black, Grey(130)},
      {7, {"BlackPanel", "WhitePanel", "PointPanel", "BalancePanel", "GammaPanel"}, Black, Grey(130)},
      {8, {"PointPanel", "GammaPanel"}, Grey(190), Grey(50)},
      {9, {"WhitePanel", "PointPanel", "BalancePanel"}, White, Grey(100)},
      {10, {"BlackPanel", "PointPanel", "BalancePanel"}, Black, Grey(130)},
      {11, {"BlackPanel", "WhitePanel", "PointPanel", "BalancePanel", "GammaPanel"}, Grey(25), Grey(130)},
      {12, {}, Black, Grey(130)},
  };
  for (const Expected& expected : pages) {
    form->TabSet.SetTabIndex(expected.page);
    SCOPED_TRACE(expected.page);
    EXPECT_EQ(CurrentPage, expected.page);
    EXPECT_EQ(ShownPanels(), expected.panels);
    EXPECT_EQ(form->Window.Color, expected.window);
    EXPECT_TRUE(form->HelpLabel.Visible);
    EXPECT_EQ(form->HelpLabel.Font.Color, expected.help);
    EXPECT_EQ(form->FileLabel.Visible, expected.page == 12);
    for (TControl* panel : form->Window.Children) {
      if (panel->Visible && panel->Kind == TControlKind::Panel && panel != &form->Panel) {
        EXPECT_EQ(panel->Top, 1027 - 142 - 16);
      }
    }
  }
  EXPECT_EQ(form->HelpLabel.Left, 74);
  EXPECT_EQ(form->HelpLabel.Top, 4);
  EXPECT_EQ(form->HelpLabel.Width, 290);
  EXPECT_EQ(form->HelpLabel.Height, 460);
  EXPECT_EQ(form->HelpLabel.Font.Height, -12);
}

TEST_F(PagesTest, PanelsStandCentredAndSixteenPixelsApart) {
  Start();
  form->ShowPage(1);
  EXPECT_EQ(form->BlackPanel.Left, 900);
  form->ShowPage(2);
  EXPECT_EQ(form->WhitePanel.Left, 899);
  form->ShowPage(5);
  EXPECT_EQ(form->BalancePanel.Left, 900);
  EXPECT_EQ(form->WhitePanel.Left, 1037);
  EXPECT_EQ(form->BlackPanel.Left, 763);
  form->ShowPage(7);
  EXPECT_EQ(form->BlackPanel.Left, 561);
  EXPECT_EQ(form->WhitePanel.Left, 698);
  EXPECT_EQ(form->PointPanel.Left, 837);
  EXPECT_EQ(form->BalancePanel.Left, 1100);
  EXPECT_EQ(form->GammaPanel.Left, 1237);
  form->ShowPage(8);
  EXPECT_EQ(form->GammaPanel.Left, 1100);
  form->ShowPage(10);
  EXPECT_EQ(form->BlackPanel.Left, 700);
}

TEST_F(PagesTest, At144DpiTheArrangementScalesWithTheGap) {
  Start("Rect=0,0,3840,2160", 144);
  form->ShowPage(11);
  EXPECT_EQ(form->PointPanel.Width, 371);
  EXPECT_EQ(form->PointPanel.Top, 2080 - 213 - 24);
  EXPECT_EQ(form->PointPanel.Left, 1735);
  EXPECT_EQ(form->BalancePanel.Left, 2130);
  EXPECT_EQ(form->GammaPanel.Left, 2336);
  EXPECT_EQ(form->WhitePanel.Left, 1526);
  EXPECT_EQ(form->BlackPanel.Left, 1320);
  EXPECT_EQ(form->HelpLabel.Font.Height, -18);
}

// Next Display onto displays of other sizes, each followed by the DPI that
// the system then reports: the panel keeps its place above the bar.
TEST_F(PagesTest, APanelFollowsTheWindowOntoDisplaysOfOtherSizesAndDpis) {
  StartDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,4480,1440\nDpi=144", "Rect=4480,0,5760,1024\nDpi=120"});
  CreateForm(96);
  form->ShowPage(GammaPage);
  struct TExpected {
    int32_t Dpi, BarTop, Left, Top, Width, Height;
  };
  const TExpected expected[] = {
      {144, 1360, 1189, 1123, 182, 213},  // 2560 x 1440
      {120, 958, 564, 760, 152, 178},     // 1280 x 1024
      {96, 1027, 899, 869, 122, 142},     // 1920 x 1080: 152 and 178 scaled back
  };
  for (const TExpected& step : expected) {
    form->NextDisplayButton.Click();
    form->FollowDisplayDpi();
    EXPECT_EQ(form->PixelsPerInch, step.Dpi);
    EXPECT_EQ(form->Panel.Top, step.BarTop) << step.Dpi;
    EXPECT_EQ(form->GammaPanel.Left, step.Left) << step.Dpi;
    EXPECT_EQ(form->GammaPanel.Top, step.Top) << step.Dpi;
    EXPECT_EQ(form->GammaPanel.Width, step.Width) << step.Dpi;
    EXPECT_EQ(form->GammaPanel.Height, step.Height) << step.Dpi;
    EXPECT_TRUE(form->GammaPanel.Visible);
  }
}

// The system reports a new DPI for the window: the row of five panels is
// arranged again for it, centred and just above the bar.
TEST_F(PagesTest, ARowOfPanelsIsArrangedAgainAfterADpiChange) {
  Start();
  form->ShowPage(AllControlsPage);
  form->DpiChanged(120);
  EXPECT_EQ(form->Panel.Top, 1014);
  EXPECT_EQ(form->BlackPanel.Left, 461);
  EXPECT_EQ(form->WhitePanel.Left, 632);
  EXPECT_EQ(form->PointPanel.Left, 806);
  EXPECT_EQ(form->BalancePanel.Left, 1135);
  EXPECT_EQ(form->GammaPanel.Left, 1306);
  for (const TPanel* panel : {&form->BlackPanel, &form->WhitePanel, &form->PointPanel, &form->BalancePanel,
                              &form->GammaPanel})
    EXPECT_EQ(panel->Top, 816) << panel->Name;
  form->DpiChanged(144);
  EXPECT_EQ(form->BlackPanel.Left, 361);
  EXPECT_EQ(form->PointPanel.Left, 775);
  EXPECT_EQ(form->GammaPanel.Left, 1375);
  EXPECT_EQ(form->PointPanel.Top, 762);
  // The help text follows too.
  EXPECT_EQ(form->HelpLabel.Left, 111);
  EXPECT_EQ(form->HelpLabel.Font.Height, -18);
}

TEST_F(PagesTest, OnANarrowDisplayTheOuterPanelsLieOutsideTheWindow) {
  Start("Rect=0,0,640,480");
  form->ShowPage(7);
  EXPECT_EQ(form->BlackPanel.Left, -79);
  EXPECT_EQ(form->GammaPanel.Left + form->GammaPanel.Width, 718);
}

TEST_F(PagesTest, HighlightsAndShadowsMoveThePointAndReloadEachTime) {
  Start();
  form->ShowPage(9);
  form->PointRUpDown.SetPosition(15);  // a set point at 240
  form->ShowPage(10);
  form->PointRUpDown.SetPosition(-4);  // and one at 12
  ClearLog();
  form->TabSet.SetTabIndex(9);
  EXPECT_EQ(CurrentPoint, 240);
  EXPECT_EQ(form->PointPosUpDown.Position, 240);
  EXPECT_EQ(form->PointPosEdit.Text, "240");
  EXPECT_EQ(form->PointRUpDown.Position, 15);
  EXPECT_EQ(LoadsInto(1), 1);
  form->TabSet.SetTabIndex(10);
  EXPECT_EQ(CurrentPoint, 12);
  EXPECT_EQ(form->PointRUpDown.Position, -4);
  EXPECT_EQ(LoadsInto(1), 2);
  EXPECT_TRUE(form->EventsEnabled);
}

TEST_F(PagesTest, WithoutLanguageFilesEveryCaptionShowsItsKey) {
  Start();
  EXPECT_EQ(form->OkButton.Caption, "BOK");
  EXPECT_EQ(form->OffButton.Caption, "BOffLUT");
  EXPECT_EQ(form->TabSet.Tabs[0], "TabWelcome");
  EXPECT_EQ(form->TabSet.Tabs[12], "TabReferenceImage");
  EXPECT_EQ(form->PointResetLabel.Caption, "LReset");
  EXPECT_EQ(form->WelcomeLabel.Caption, "TWelcome");
  EXPECT_EQ(form->DisplayLabel.Caption, "LDisplay");
  EXPECT_EQ(form->DisplayLabel.Width, 48);  // sized to its text
  EXPECT_EQ(form->GammaRLabel.Caption, "R:");
  EXPECT_EQ(form->GammaResetButton.Caption, ">0<");
  EXPECT_EQ(form->StandardComboBox.Items[7], "BT.1886 0 nits / G 2.4");
  EXPECT_TRUE(form->LangComboBox.Items.empty());
  EXPECT_EQ(CurrentLanguage, "");
  form->ShowPage(3);
  EXPECT_EQ(form->HelpLabel.Caption, "TGamma");
}

TEST_F(PagesTest, ChangingTheLanguageRetranslatesAtOnceAndKeepsTextsTheNewOneLacks) {
  WriteLanguage("English", "BOK=OK\r\nBCancel=Cancel\r\nTGamma=Move the gamma\r\nTabGamma=Gamma\r\n");
  WriteLanguage("Deutsch", "BOK=Gut\r\nTGamma=Gamma verschieben\r\n");
  CurrentLanguage = "english";
  Start();
  EXPECT_EQ(CurrentLanguage, "English");
  EXPECT_EQ(form->OkButton.Caption, "OK");
  form->ShowPage(3);
  EXPECT_EQ(form->HelpLabel.Caption, "Move the gamma");
  const auto& items = form->LangComboBox.Items;
  const auto deutsch = std::find(items.begin(), items.end(), "Deutsch");
  ASSERT_NE(deutsch, items.end());
  form->LangComboBox.Select(static_cast<int32_t>(deutsch - items.begin()));
  EXPECT_EQ(CurrentLanguage, "Deutsch");
  EXPECT_EQ(form->OkButton.Caption, "Gut");
  EXPECT_EQ(form->CancelButton.Caption, "Cancel");
  EXPECT_EQ(form->HelpLabel.Caption, "Gamma verschieben");
  EXPECT_EQ(CurrentPage, 3);
}

TEST_F(PagesTest, TheReferencePageFallsBackToTheProgramFoldersPicture) {
  Start();
  form->ShowPage(12);
  EXPECT_EQ(ReferenceImagePath, program.File("Tonemark.reference.jpg"));
  EXPECT_EQ(form->FileLabel.Caption, "Tonemark.reference.jpg");
  EXPECT_EQ(form->ReferenceJpeg->Width, 0);
  // 22 characters of 6 pixels, 13 high.
  EXPECT_EQ(form->FileLabel.Left, 1920 - 70 - 132);
  EXPECT_EQ(form->FileLabel.Top, 1080 - 8 - 13 - 53);

  WriteBytes(program.File("Tonemark.reference.jpg"), PpmPicture(4, 3));
  form->ShowPage(0);
  ReferenceImagePath = program.File("gone.jpg");
  form->ShowPage(12);
  EXPECT_EQ(ReferenceImagePath, program.File("Tonemark.reference.jpg"));
  EXPECT_EQ(form->ReferenceJpeg->Width, 4);
}

TEST_F(PagesTest, CtrlTabWrapsRoundThePages) {
  Start();
  form->FormKeyDown(VkTab, ssCtrl | ssShift);
  EXPECT_EQ(CurrentPage, 12);
  EXPECT_EQ(form->TabSet.TabIndex, 12);
  form->FormKeyDown(VkTab, ssCtrl);
  EXPECT_EQ(CurrentPage, 0);
  form->FormKeyDown(VkTab, ssCtrl);
  EXPECT_EQ(CurrentPage, 1);
  form->FormKeyDown(VkTab, 0);
  form->FormKeyDown(VkTab, ssShift);
  form->FormKeyDown('A', ssCtrl);
  EXPECT_EQ(CurrentPage, 1);
}

TEST_F(PagesTest, ThePageRepaintsTheBackgroundOnceItExists) {
  Start();
  TTestBackground background;
  form->Background = &background;
  const int repaints = view.Repaints;
  form->TabSet.SetTabIndex(5);
  EXPECT_EQ(background.Repaints, 1);
  EXPECT_EQ(view.Repaints, repaints + 1);
  form->MinimizeButton.Click();
  EXPECT_TRUE(background.Hidden);
  EXPECT_TRUE(view.Minimized);
  EXPECT_FALSE(form->StayOnTop);
}

TEST_F(PagesTest, ThePaintHandlerFillsThePagesColourAndDrawsItsPattern) {
  Start("Rect=0,0,640,480");
  form->ShowPage(2);
  TRasterCanvas canvas(640, 480);
  form->FormPaint(canvas);
  EXPECT_EQ(canvas.Pixel(0, 0), White);
  // The graph sits centred 8 pixels down; its frame is grey 110.
  EXPECT_EQ(canvas.Pixel(320 - 128, 8), Grey(110));
  form->ShowPage(0);
  form->FormPaint(canvas);
  for (TColor pixel : canvas.Pixels()) ASSERT_EQ(pixel, Black);
}

}  // namespace

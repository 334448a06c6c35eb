// The bar's notice reads in full at every size the window supports: the
// longest reason a back-end gives, in every language, in a row of its own on
// top of the bar, with the page's panels standing on that row.
#include <algorithm>
#include <cstdlib>

#include "paint/page_pattern.h"
#include "tests/platform/sim/hdr_sim_displays.h"
#include "tests/ui/window_fixture.h"

namespace {

struct TSupportedSize {
  const char* Monitor;
  int32_t Dpi;
  // Spanish, the longest caption in the test view's font: two lines.
  int32_t LabelLeft, LabelWidth, LabelHeight, RowHeight;
};

const TSupportedSize SupportedSizes[] = {
    {"Rect=0,0,1024,768", 96, 5, 1014, 2 * 13, 2 * 13 + 6},
    {"Rect=0,0,1280,720", 96, 5, 1270, 2 * 13, 2 * 13 + 6},
    {"Rect=0,0,1280,1024\nDpi=120", 120, 6, 1268, 2 * 16, 2 * 16 + 8},
    {"Rect=0,0,1920,1080\nDpi=144", 144, 8, 1904, 2 * 19, 2 * 19 + 10},
};

class NoticeTest : public WindowTest {
 protected:
  void InstallLanguages() {
    const std::filesystem::path source = std::filesystem::path(std::getenv("TONEMARK_SOURCE_DIR")) / "resources" /
                                         "Tonemark.languages";
    std::filesystem::create_directories(program.Path() / "Tonemark.languages");
    for (const char* language : {"English", "French", "German", "Spanish"})
      std::filesystem::copy_file(source / (std::string(language) + ".lang"),
                                 program.Path() / "Tonemark.languages" / (std::string(language) + ".lang"));
  }

  void StartHdrDisplay(const std::string& monitor) {
    WriteBytes(SimFile("displays.ini"), "[Monitor1]\n" + monitor + "\nFail=live\n");
    displays = std::make_unique<THdrSimDisplays>(sim.Path() / "sim", false);
    SetDisplaysPort(*displays);
    EnumerateDisplays();
  }

  void SelectLanguage(const std::string& language) {
    const auto& items = form->LangComboBox.Items;
    form->LangComboBox.Select(static_cast<int32_t>(std::find(items.begin(), items.end(), language) - items.begin()));
    ASSERT_EQ(CurrentLanguage, language);
  }

  // The whole caption within the label, and the label within its row, which
  // lies on the bar inside the window.
  void ExpectWholeNotice(const std::string& why) {
    const TLabel& label = form->RampRefusedLabel;
    const TPanel& row = form->NoticePanel;
    ASSERT_TRUE(label.Showing()) << why;
    const TTextExtent line = view.TextExtent(label.EffectiveFont(), label.Caption);
    EXPECT_LE(view.WrappedTextExtent(label.EffectiveFont(), label.Caption, label.Width).Height, label.Height) << why;
    EXPECT_GE(int64_t{label.Width} * (label.Height / line.Height), line.Width) << why;
    EXPECT_GE(label.Left, 0) << why;
    EXPECT_LE(label.Left + label.Width, row.Width) << why;
    EXPECT_LE(label.Top + label.Height, row.Height) << why;
    EXPECT_EQ(row.Left, 0) << why;
    EXPECT_EQ(row.Width, form->Window.Width) << why;
    EXPECT_EQ(row.Top + row.Height, form->Panel.Top) << why;
    EXPECT_EQ(form->Panel.Top + form->Panel.Height, form->Window.Height) << why;
  }
};

TEST_F(NoticeTest, TheLongestReasonReadsInFullInEveryLanguageAtEverySupportedSize) {
  InstallLanguages();
  for (const TSupportedSize& size : SupportedSizes) {
    CurrentLanguage = "English";
    StartHdrDisplay(size.Monitor);
    CreateForm(size.Dpi);
    for (const char* language : {"French", "German", "English", "Spanish"}) {
      SelectLanguage(language);
      ExpectWholeNotice(std::string(size.Monitor) + " " + language);
    }
    // Spanish throughout, the reason too (the English one would leave 220
    // characters): the longest caption of all.
    EXPECT_EQ(form->RampRefusedLabel.Caption.substr(0, 18), "La ventana muestra");
    EXPECT_EQ(form->RampRefusedLabel.Caption.size(), 236u);
    EXPECT_EQ(form->RampRefusedLabel.Left, size.LabelLeft) << size.Monitor;
    EXPECT_EQ(form->RampRefusedLabel.Width, size.LabelWidth) << size.Monitor;
    EXPECT_EQ(form->RampRefusedLabel.Height, size.LabelHeight) << size.Monitor;
    EXPECT_EQ(form->NoticePanel.Height, size.RowHeight) << size.Monitor;
    // The pattern keeps its height for tonemark-render's pictures: the row
    // lies over it as the panels do.
    EXPECT_EQ(form->PatternHeight(), form->Window.Height - Scale(BarDesignHeight, size.Dpi)) << size.Monitor;
    form.reset();
    ReleaseDisplays();
  }
}

TEST_F(NoticeTest, ADpiChangeLaysTheNoticeOutAgain) {
  InstallLanguages();
  CurrentLanguage = "German";
  StartHdrDisplay("Rect=0,0,1024,768");
  CreateForm(96);
  EXPECT_EQ(form->RampRefusedLabel.Height, 2 * 13);
  form->DpiChanged(144 << 16 | 144);
  ExpectWholeNotice("after 96 -> 144");
  EXPECT_EQ(form->RampRefusedLabel.Height, 3 * 19);
}

TEST_F(NoticeTest, ThePanelsAndTheFileLabelStandOnTheNoticeUntilADisplayTakesItsRamps) {
  StartDisplays({"Rect=0,0,1280,720\nFail=live", "Rect=1280,0,2560,720"});
  CreateForm();
  ASSERT_TRUE(form->NoticePanel.Showing());
  form->TabSet.SetTabIndex(AllControlsPage);
  for (const TPanel* panel : {&form->BlackPanel, &form->WhitePanel, &form->PointPanel, &form->BalancePanel,
                              &form->GammaPanel})
    EXPECT_EQ(panel->Top + panel->Height + 16, form->NoticePanel.Top) << panel->Name;
  form->TabSet.SetTabIndex(ReferenceImagePage);
  EXPECT_EQ(form->FileLabel.Top + form->FileLabel.Height + 8, form->NoticePanel.Top);

  form->NextDisplayButton.Click();
  EXPECT_FALSE(form->NoticePanel.Showing());
  EXPECT_EQ(form->FileLabel.Top + form->FileLabel.Height + 8, form->Panel.Top);
  form->TabSet.SetTabIndex(GammaPage);
  EXPECT_EQ(form->GammaPanel.Top + form->GammaPanel.Height + 16, form->Panel.Top);
}

// Refuses ramps that stray far from the identity, as Windows does.
class TFarRampRefusingDisplays : public TSimDisplays {
 public:
  using TSimDisplays::TSimDisplays;
  bool SetRamp(TDisplayHandle display, const TGammaRamp& ramp) override {
    for (size_t i = 0; i < ramp.size(); ++i)
      if (std::abs(ramp[i] - static_cast<int32_t>(i % 256 * 257)) > 32 * 257) return false;
    return TSimDisplays::SetRamp(display, ramp);
  }
};

TEST_F(NoticeTest, TheRowStaysWhenTheDisplayTakesItsRampsAgainSoThatThePanelsDoNotJump) {
  WriteBytes(SimFile("displays.ini"), "[Monitor1]\nRect=0,0,1280,720\n");
  displays = std::make_unique<TFarRampRefusingDisplays>(sim.Path() / "sim", false);
  SetDisplaysPort(*displays);
  EnumerateDisplays();
  CreateForm();
  form->TabSet.SetTabIndex(GammaPage);
  EXPECT_FALSE(form->NoticePanel.Showing());
  const int32_t onTheBar = form->GammaPanel.Top;
  form->GammaUpDown.SetPosition(100);
  ASSERT_TRUE(form->RampRefusedLabel.Showing());
  const int32_t onTheNotice = form->GammaPanel.Top;
  EXPECT_EQ(onTheNotice, onTheBar - form->NoticePanel.Height);
  form->GammaUpDown.SetPosition(0);
  EXPECT_FALSE(form->RampRefusedLabel.Showing());
  EXPECT_TRUE(form->NoticePanel.Showing());
  EXPECT_EQ(form->GammaPanel.Top, onTheNotice);
}

}  // namespace

// Page arrangement: which panels a page shows and where, its colours and help
// text; and every translatable caption.
#include <vector>

#include "lang/multilang.h"
#include "paint/page_pattern.h"
#include "paint/page_state.h"
#include "ramp/records.h"
#include "shell/data_folders.h"
#include "shell/settings_file.h"
#include "shell/shell_port.h"
#include "ui/main_form.h"
#include "ui/pages.h"

namespace {

constexpr int32_t PanelGapDesign = 16;
constexpr int32_t HighlightsPoint = 240;
constexpr int32_t ShadowsPoint = 12;

enum class TPlace { Centred, RightOf, LeftOf };

struct TPanelPlacement {
  TPanel TMainForm::*Panel;
  TPlace Place;
  TPanel TMainForm::*Anchor;  // placed already: placements run in list order
};

using TArrangement = std::vector<TPanelPlacement>;

const TArrangement& PageArrangement(int32_t page) {
  using M = TMainForm;
  static const TArrangement none;
  static const TArrangement black{{&M::BlackPanel, TPlace::Centred, nullptr}};
  static const TArrangement white{{&M::WhitePanel, TPlace::Centred, nullptr}};
  static const TArrangement gamma{{&M::GammaPanel, TPlace::Centred, nullptr}};
  static const TArrangement balance{{&M::BalancePanel, TPlace::Centred, nullptr},
                                    {&M::WhitePanel, TPlace::RightOf, &M::BalancePanel},
                                    {&M::BlackPanel, TPlace::LeftOf, &M::BalancePanel}};
  static const TArrangement points{{&M::PointPanel, TPlace::Centred, nullptr}};
  static const TArrangement all{{&M::PointPanel, TPlace::Centred, nullptr},
                                {&M::BalancePanel, TPlace::RightOf, &M::PointPanel},
                                {&M::GammaPanel, TPlace::RightOf, &M::BalancePanel},
                                {&M::WhitePanel, TPlace::LeftOf, &M::PointPanel},
                                {&M::BlackPanel, TPlace::LeftOf, &M::WhitePanel}};
  static const TArrangement grays{{&M::PointPanel, TPlace::Centred, nullptr},
                                  {&M::GammaPanel, TPlace::RightOf, &M::PointPanel}};
  static const TArrangement highlights{{&M::PointPanel, TPlace::Centred, nullptr},
                                       {&M::BalancePanel, TPlace::RightOf, &M::PointPanel},
                                       {&M::WhitePanel, TPlace::LeftOf, &M::PointPanel}};
  static const TArrangement shadows{{&M::PointPanel, TPlace::Centred, nullptr},
                                    {&M::BalancePanel, TPlace::RightOf, &M::PointPanel},
                                    {&M::BlackPanel, TPlace::LeftOf, &M::PointPanel}};
  static const TArrangement* const byPage[PageCount] = {&none,   &black, &white,      &gamma,   &gamma,
                                                        &balance, &points, &all,      &grays,   &highlights,
                                                        &shadows, &all,    &none};
  return *byPage[page];
}

}  // namespace

int32_t TMainForm::DisplayWidth() const {
  if (CurrentDisplay < 0 || CurrentDisplay >= DisplayCount) return Window.Width;
  const TRect& monitor = Displays[CurrentDisplay].MonitorInfo.Monitor;
  return monitor.Right - monitor.Left;
}

int32_t TMainForm::DisplayHeight() const {
  if (CurrentDisplay < 0 || CurrentDisplay >= DisplayCount) return Window.Height;
  const TRect& monitor = Displays[CurrentDisplay].MonitorInfo.Monitor;
  return monitor.Bottom - monitor.Top;
}

void TMainForm::ShowPage(int32_t page) {
  if (page < 0 || page >= PageCount) return;
  CurrentPage = page;
  if (Background) Background->Repaint();
  SelectTabQuietly(page);
  const bool eventsEnabled = EventsEnabled;
  EventsEnabled = false;
  if (page == HighlightsPage || page == ShadowsPage) MoveToPagePoint(page);
  if (page == ReferenceImagePage) FindReferencePicture();
  ArrangePage();
  View.Repaint();
  EventsEnabled = eventsEnabled;
}

void TMainForm::SelectTabQuietly(int32_t page) {
  const bool eventsEnabled = EventsEnabled;
  EventsEnabled = false;
  TabSet.SetTabIndex(page);
  EventsEnabled = eventsEnabled;
}

// Highlights and Shadows open on the level they are about.
void TMainForm::MoveToPagePoint(int32_t page) {
  CurrentPoint = page == HighlightsPage ? HighlightsPoint : ShadowsPoint;
  PointPosUpDown.SetPosition(CurrentPoint);
  SyncControls();
  ApplyCurve();
}

void TMainForm::ArrangePage() {
  if (CurrentPage < 0 || CurrentPage >= PageCount) return;
  for (TControl* control : {static_cast<TControl*>(&WelcomePanel), static_cast<TControl*>(&GammaPanel),
                            static_cast<TControl*>(&BlackPanel), static_cast<TControl*>(&WhitePanel),
                            static_cast<TControl*>(&BalancePanel), static_cast<TControl*>(&PointPanel),
                            static_cast<TControl*>(&LangPanel), static_cast<TControl*>(&FileLabel)})
    control->Visible = false;
  Window.Color = PageLook(CurrentPage).WindowColor;
  ArrangeHelpText();
  if (CurrentPage == WelcomePage) ArrangeWelcome();
  ArrangePanels();
  if (CurrentPage == ReferenceImagePage) ArrangeFileLabel();
}

void TMainForm::ArrangeHelpText() {
  const TPageInfo& info = Pages[CurrentPage];
  HelpLabel.OwnFont();
  HelpLabel.Font.Height = Scale(-12);
  HelpLabel.SetBounds(Scale(74), Scale(4), Scale(290), Scale(460));
  HelpLabel.WordWrap = true;
  HelpLabel.Color = Black;
  HelpLabel.Font.Color = info.HelpColor;
  HelpLabel.Visible = info.HelpKey != nullptr;
  if (info.HelpKey) HelpLabel.Caption = Translate(info.HelpKey);
}

// The page's panels in a row just above the bar, the first centred on the
// display.
void TMainForm::ArrangePanels() {
  const int32_t panelGap = Scale(PanelGapDesign);
  for (const TPanelPlacement& placement : PageArrangement(CurrentPage)) {
    TPanel& panel = this->*placement.Panel;
    if (placement.Place == TPlace::Centred) {
      panel.Left = DisplayWidth() / 2 - panel.Width / 2;
    } else {
      const TPanel& anchor = this->*placement.Anchor;
      panel.Left = placement.Place == TPlace::RightOf ? anchor.Left + anchor.Width + panelGap
                                                      : anchor.Left - panel.Width - panelGap;
    }
    panel.Top = Panel.Top - panel.Height - panelGap;
    panel.Visible = true;
  }
}

void TMainForm::ArrangeWelcome() {
  WelcomePanel.OwnFont();
  AboutImage.SetBounds(0, Scale(45), Scale(256), Scale(256));
  AboutImage.Stretch = true;
  AppWelcomeLabel.OwnFont();
  AppWelcomeLabel.Font.Color = Grey(144);
  AppWelcomeLabel.Font.Height = Scale(-24);
  AppWelcomeLabel.AdjustSize();
  WelcomeLabel.OwnFont();
  WelcomeLabel.Font.Color = Grey(144);
  WelcomeLabel.Font.Height = Scale(-13);
  WelcomeLabel.SetBounds(Scale(24) + AboutImage.Width, Scale(6) + AboutImage.Top, Scale(590), Scale(480));
  WelcomePanel.Width = WelcomeLabel.Left + WelcomeLabel.Width;
  WelcomePanel.Height = WelcomeLabel.Top + WelcomeLabel.Height;
  WelcomePanel.Left = DisplayWidth() / 2 - WelcomePanel.Width / 2;
  WelcomePanel.Top = DisplayHeight() / 2 - WelcomePanel.Height / 2;
  WelcomePanel.Visible = true;
  LangPanel.Left = WelcomePanel.Left + Scale(10);
  LangPanel.Top = WelcomePanel.Top + Scale(325);
  LangPanel.Visible = true;
}

// A picture path that names no file falls back to the picture beside the
// program.
void TMainForm::FindReferencePicture() {
  if (ShellPort::FileExists(ReferenceImagePath)) return;
  ReferenceImagePath = ProgramFolder() + DefaultReferenceImage;
  if (ShellPort::FileExists(ReferenceImagePath)) LoadReferencePicture();
}

void TMainForm::ArrangeFileLabel() {
  FileLabel.SetCaption(ReferenceImagePath.substr(FolderOf(ReferenceImagePath).size()));
  FileLabel.Left = Window.Width - Scale(70) - FileLabel.Width;
  FileLabel.Top = Window.Height - Scale(8) - FileLabel.Height - Panel.Height;
  FileLabel.Visible = true;
}

void TMainForm::TabSetChange(int32_t newTab, bool& allowChange) {
  allowChange = true;
  if (EventsEnabled) ShowPage(newTab);
}

void TMainForm::TranslateCaptions() {
  OkButton.Caption = Translate("BOK");
  CancelButton.Caption = Translate("BCancel");
  MinimizeButton.Caption = Translate("BMinimize");
  OffButton.Caption = Translate(LutActive ? "BOffLUT" : "BOnLUT");
  ResetButton.Caption = Translate("BReset");
  DisplayLabel.SetCaption(Translate("LDisplay"));
  StandardLabel.SetCaption(Translate("LStandard"));
  RampRefusedLabel.Caption = Translate("LRampRefused");
  NextDisplayButton.Caption = Translate("BNextDisplay");
  for (size_t tab = 0; tab < Pages.size(); ++tab) TabSet.Tabs[tab] = Translate(Pages[tab].TabKey);
  LangLabel.SetCaption(Translate("LLanguage"));
  WelcomeLabel.Caption = Translate("TWelcome");
  BlackLabel.SetCaption(Translate("LBlack"));
  WhiteLabel.SetCaption(Translate("LWhite"));
  PointLabel.SetCaption(Translate("LValue"));
  BalanceLabel.SetCaption(Translate("LBalance"));
  GammaLabel.SetCaption(Translate("LGamma"));
  for (TLabel* label : {&BlackResetLabel, &WhiteResetLabel, &PointResetLabel, &BalanceResetLabel, &GammaResetLabel})
    label->SetCaption(Translate("LReset"));
  PointPosLabel.SetCaption(Translate("LPos"));
  PointPrevButton.Caption = Translate("BPrev");
  PointNextButton.Caption = Translate("BNext");
  PointClearButton.Caption = Translate("BClearAll");
  ShowPage(CurrentPage);
}

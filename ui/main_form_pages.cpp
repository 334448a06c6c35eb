// Page arrangement: which panels a page shows and where, its colours and help
// text; and every translatable caption.
#include <algorithm>

#include "lang/multilang.h"
#include "paint/pages.h"
#include "ramp/displays_port.h"
#include "ramp/records.h"
#include "shell/data_folders.h"
#include "shell/settings_file.h"
#include "shell/shell_port.h"
#include "ui/main_form.h"

namespace {

constexpr int32_t PanelGapDesign = 16;

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
  if (Pages[page].OpeningPoint != NoOpeningPoint) MoveToPagePoint(page);
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
  CurrentPoint = Pages[page].OpeningPoint;
  PointPosUpDown.SetPosition(CurrentPoint);
  SyncControls();
  ApplyCurve();
}

void TMainForm::ArrangePage() {
  if (CurrentPage < 0 || CurrentPage >= PageCount) return;
  for (TControl* control : std::initializer_list<TControl*>{&WelcomePanel, &LangPanel, &FileLabel})
    control->Visible = false;
  for (const TAdjustPanel& panel : AdjustPanels) panel.Panel.Visible = false;
  Window.Color = ShownColor(Pages[CurrentPage].WindowColor);
  LayoutNotice();
  ArrangeHelpText();
  if (CurrentPage == WelcomePage) ArrangeWelcome();
  ArrangePanels();
  if (CurrentPage == ReferenceImagePage) ArrangeFileLabel();
}

void TMainForm::ArrangeHelpText() {
  const TPage& info = Pages[CurrentPage];
  HelpLabel.OwnFont();
  HelpLabel.Font.Height = Scale(-12);
  HelpLabel.SetBounds(Scale(74), Scale(4), Scale(290), Scale(460));
  HelpLabel.WordWrap = true;
  HelpLabel.Color = Black;
  HelpLabel.Font.Color = info.HelpColor;
  HelpLabel.Visible = info.HelpKey != nullptr;
  if (info.HelpKey) HelpLabel.Caption = Translate(info.HelpKey);
}

// The page's panels in a row just above the bar (or the notice's row on it),
// one of them centred on the display and the others out from it to either
// side.
void TMainForm::ArrangePanels() {
  const TPage& page = Pages[CurrentPage];
  const auto& row = page.Panels;
  const ptrdiff_t count = std::find(row.begin(), row.end(), TAdjustGroup::None) - row.begin();
  if (count == 0) return;
  const ptrdiff_t centre = std::find(row.begin(), row.end(), page.CentredPanel) - row.begin();
  auto panel = [&](ptrdiff_t index) -> TPanel& { return AdjustPanel(row[index]).Panel; };
  const int32_t panelGap = Scale(PanelGapDesign);
  panel(centre).Left = DisplayWidth() / 2 - panel(centre).Width / 2;
  for (ptrdiff_t i = centre + 1; i < count; ++i) panel(i).Left = panel(i - 1).Left + panel(i - 1).Width + panelGap;
  for (ptrdiff_t i = centre - 1; i >= 0; --i) panel(i).Left = panel(i + 1).Left - panel(i).Width - panelGap;
  for (ptrdiff_t i = 0; i < count; ++i) {
    panel(i).Top = BottomRowsTop() - panel(i).Height - panelGap;
    panel(i).Visible = true;
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
  FileLabel.Top = BottomRowsTop() - Scale(8) - FileLabel.Height;
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
  // Back-ends word their reasons in the present language too.
  if (!RampRefusal.empty()) RampRefusal = DisplaysPort().RampRefusal(Displays[CurrentDisplay].DC);
  RampRefusedLabel.Caption = RampRefusedCaption();
  NextDisplayButton.Caption = Translate("BNextDisplay");
  for (size_t tab = 0; tab < Pages.size(); ++tab) TabSet.Tabs[tab] = Translate(Pages[tab].TabKey);
  LangLabel.SetCaption(Translate("LLanguage"));
  WelcomeLabel.Caption = Translate("TWelcome");
  for (const TAdjustPanel& panel : AdjustPanels) {
    panel.Caption.SetCaption(Translate(panel.CaptionKey));
    panel.ResetLabel.SetCaption(Translate("LReset"));
  }
  PointPosLabel.SetCaption(Translate("LPos"));
  PointPrevButton.Caption = Translate("BPrev");
  PointNextButton.Caption = Translate("BNext");
  PointClearButton.Caption = Translate("BClearAll");
  ShowPage(CurrentPage);
}

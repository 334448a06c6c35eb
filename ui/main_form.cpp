// The window's controls at their design geometry (96 DPI) and their wiring.
#include "ui/main_form.h"

#include "paint/page_pattern.h"

namespace {

constexpr TColor PanelTextColor = Grey(128);
constexpr TColor LinkColor = RgbColor(98, 98, 255);
constexpr TColor RefusedTextColor = RgbColor(128, 0, 0);

constexpr int32_t DesignClientWidth = 1082;
constexpr int32_t DesignClientHeight = 500;
constexpr int32_t AdjustPanelHeight = 142;
constexpr int16_t AdjustMin = -100, AdjustMax = 100;
constexpr int16_t PointPosMax = 255;

void MakeGreyLabel(TLabel& label, int32_t left, int32_t top, const std::string& caption) {
  label.OwnFont();
  label.Font.Color = PanelTextColor;
  label.Transparent = true;
  label.Left = left;
  label.Top = top;
  label.SetCaption(caption);
}

void MakeBarButton(TButton& button, int32_t left, int32_t top, int32_t width, int32_t height,
                   const std::string& caption) {
  button.SetBounds(left, top, width, height);
  button.Caption = caption;
  button.TabStop = false;  // the bar's buttons never take the focus
}

void MakeAdjustRow(TUpDown& upDown, int32_t top, TColor background, TColor text) {
  TEdit& edit = upDown.Associate;
  edit.SetBounds(66, top, 35, 21);
  edit.Color = background;
  edit.OwnFont();  // the coloured rows' text is white, whatever the panel's font says
  edit.Font.Color = text;
  upDown.SetBounds(101, top, 16, 21);
  upDown.Min = AdjustMin;
  upDown.Max = AdjustMax;
}

void MakePanelButton(TButton& button, int32_t left, int32_t top, int32_t width, const std::string& caption) {
  button.SetBounds(left, top, width, 21);
  button.Caption = caption;
  button.TabStop = true;
}

}  // namespace

TMainForm::TMainForm(TMainView& view, TFileDialog& fileDialog, TImageDecoder* decoder, int32_t systemDpi)
    : View(view),
      FileDialog(fileDialog),
      Decoder(decoder),
      // In the order of TAdjustGroup.
      AdjustPanels{{
          {GammaPanel, 121, GammaLabel, "Gamma:", "LGamma", {&GammaUpDown, &GammaRUpDown, &GammaGUpDown, &GammaBUpDown},
           {&GammaRLabel, &GammaGLabel, &GammaBLabel}, GammaResetLabel, GammaResetButton,
           [](TRampCurve& c) -> TRowFields { return {&c.Gamma, &c.GammaR, &c.GammaG, &c.GammaB}; },
           &TMainForm::GammaChange, &TMainForm::GammaResetButtonClick},
          {BlackPanel, 121, BlackLabel, "Black:", "LBlack", {&BlackUpDown, &BlackRUpDown, &BlackGUpDown, &BlackBUpDown},
           {&BlackRLabel, &BlackGLabel, &BlackBLabel}, BlackResetLabel, BlackResetButton,
           [](TRampCurve& c) -> TRowFields { return {&c.Black, &c.BlackR, &c.BlackG, &c.BlackB}; },
           &TMainForm::BlackChange, &TMainForm::BlackResetButtonClick},
          {WhitePanel, 123, WhiteLabel, "White:", "LWhite", {&WhiteUpDown, &WhiteRUpDown, &WhiteGUpDown, &WhiteBUpDown},
           {&WhiteRLabel, &WhiteGLabel, &WhiteBLabel}, WhiteResetLabel, WhiteResetButton,
           [](TRampCurve& c) -> TRowFields { return {&c.White, &c.WhiteR, &c.WhiteG, &c.WhiteB}; },
           &TMainForm::WhiteChange, &TMainForm::WhiteResetButtonClick},
          {BalancePanel, 121, BalanceLabel, "Balance:", "LBalance",
           {nullptr, &BalanceRUpDown, &BalanceGUpDown, &BalanceBUpDown},
           {&BalanceRLabel, &BalanceGLabel, &BalanceBLabel}, BalanceResetLabel, BalanceResetButton,
           [](TRampCurve& c) -> TRowFields { return {nullptr, &c.BalanceR, &c.BalanceG, &c.BalanceB}; },
           &TMainForm::BalanceChange, &TMainForm::BalanceResetButtonClick},
          // The values at the current point; the point's own controls are built apart.
          {PointPanel, 247, PointLabel, "Value:", "LValue", {&PointUpDown, &PointRUpDown, &PointGUpDown, &PointBUpDown},
           {&PointRLabel, &PointGLabel, &PointBLabel}, PointResetLabel, PointResetButton,
           [](TRampCurve& c) -> TRowFields {
             return {&c.Point[CurrentPoint], &c.PointR[CurrentPoint], &c.PointG[CurrentPoint], &c.PointB[CurrentPoint]};
           },
           &TMainForm::PointEditChange, &TMainForm::PointResetButtonClick},
      }} {
  BuildControls();
  WireEvents();
  if (systemDpi > 0 && systemDpi != DesignDpi) {
    ScaleControls(systemDpi, DesignDpi);
    PixelsPerInch = systemDpi;
  }
}

const TMainForm::TAdjustPanel& TMainForm::AdjustPanel(TAdjustGroup group) const {
  return AdjustPanels[static_cast<size_t>(group) - 1];
}

void TMainForm::BuildControls() {
  Window.SetBounds(0, 0, DesignClientWidth, DesignClientHeight);
  Window.Color = Black;
  Window.ParentFont = false;
  Window.Font = TControlFont{};
  Window.Visible = false;
  BuildBar();
  BuildAdjustPanels();
  BuildPointControls();
  BuildWelcomePanel();
  BuildLanguagePanel();
  BuildPageLabels();
}

void TMainForm::BuildBar() {
  Panel.SetBounds(0, DesignClientHeight - BarDesignHeight, DesignClientWidth, BarDesignHeight);
  Panel.Color = Silver;
  // A page's panel that a small display pushes into the bar must not cover
  // OK, Cancel and the tabs.
  Panel.AboveSiblings = true;

  TabSet.SetBounds(1, 3, 807, 22);
  TabSet.Color = Silver;
  for (const TPage& page : Pages) TabSet.Tabs.push_back(page.DesignTab);

  for (TLabel* label : {&DisplayLabel, &StandardLabel}) {
    label->OwnFont();
    label->Font.Color = clBtnText;
    label->Transparent = true;
  }
  DisplayLabel.Left = 5;
  DisplayLabel.Top = 32;
  DisplayLabel.SetCaption("Display:");
  StandardLabel.Left = 342;
  StandardLabel.Top = 33;
  StandardLabel.SetCaption("Standard:");
  DisplayComboBox.SetBounds(58, 29, 194, 21);
  StandardComboBox.SetBounds(396, 29, 194, 21);
  MakeBarButton(NextDisplayButton, 256, 29, 78, 21, "Next Display");
  MakeBarButton(OffButton, 761, 28, 100, 22, "LUT Off");
  MakeBarButton(ResetButton, 868, 4, 100, 22, "Reset");
  MakeBarButton(MinimizeButton, 868, 28, 100, 22, "Minimize");
  MakeBarButton(OkButton, 974, 4, 100, 22, "OK");
  MakeBarButton(CancelButton, 974, 28, 100, 22, "Cancel");

  NoticePanel.Color = Silver;
  // A page's panel that a small display pushes down to the bar must not hide
  // the notice either.
  NoticePanel.AboveSiblings = true;
  NoticePanel.Visible = false;
  RampRefusedLabel.OwnFont();
  RampRefusedLabel.Font.Color = RefusedTextColor;
  RampRefusedLabel.Transparent = true;
  RampRefusedLabel.AutoSize = false;
  RampRefusedLabel.WordWrap = true;
  RampRefusedLabel.Visible = false;
}

void TMainForm::BuildAdjustPanels() {
  for (const TAdjustPanel& panel : AdjustPanels) BuildAdjustPanel(panel);
}

// The correction-point panel's own controls beside its value rows.
void TMainForm::BuildPointControls() {
  PointLabel.Top = 9;
  PointCheckBox.SetBounds(152, 11, 15, 12);
  MakeGreyLabel(PointPosLabel, 173, 10, "Point:");
  PointPosEdit.SetBounds(152, 33, 38, 21);
  PointPosEdit.Color = Silver;
  PointPosUpDown.SetBounds(190, 33, 16, 21);
  PointPosUpDown.Min = 0;
  PointPosUpDown.Max = PointPosMax;
  MakePanelButton(PointPrevButton, 131, 61, 54, "Prev");
  MakePanelButton(PointNextButton, 191, 61, 54, "Next");
  MakePanelButton(PointClearButton, 131, 115, 115, "Clear All");
}

void TMainForm::BuildWelcomePanel() {
  WelcomePanel.SetBounds(0, 0, 870, 531);
  WelcomePanel.ParentColor = true;  // the page's black, or its preview
  WelcomePanel.Visible = false;
  AppWelcomeLabel.OwnFont();
  AppWelcomeLabel.Font.Bold = true;
  AppWelcomeLabel.Font.Color = Silver;
  AppWelcomeLabel.Transparent = true;
  AboutImage.SetBounds(0, 45, 256, 256);
  AboutImage.Stretch = true;
  AboutImage.Proportional = true;
  WelcomeLabel.OwnFont();
  WelcomeLabel.Font.Color = Grey(128);
  WelcomeLabel.Transparent = true;
  WelcomeLabel.AutoSize = false;
  WelcomeLabel.WordWrap = true;
  WelcomeLabel.SetBounds(280, 51, 590, 480);
  WelcomeLabel.Caption = "Welcome";
}

void TMainForm::BuildLanguagePanel() {
  LangPanel.SetBounds(0, 0, 145, 37);
  LangPanel.ParentColor = true;
  LangPanel.Visible = false;
  MakeGreyLabel(LangLabel, 3, -3, "Language:");
  LangComboBox.SetBounds(0, 16, 145, 21);
}

// The reference picture's file link and the help text over the pattern.
void TMainForm::BuildPageLabels() {
  FileLabel.OwnFont();
  FileLabel.Font.Underline = true;
  FileLabel.Font.Color = LinkColor;
  FileLabel.Transparent = true;
  FileLabel.Cursor = TCursor::HandPoint;
  FileLabel.Visible = false;

  HelpLabel.AutoSize = false;
  HelpLabel.WordWrap = true;
  HelpLabel.Transparent = true;
  HelpLabel.Visible = false;
}

void TMainForm::BuildAdjustPanel(const TAdjustPanel& panel) {
  panel.Panel.SetBounds(0, 0, panel.Width, AdjustPanelHeight);
  panel.Panel.ParentColor = true;  // panels take the page's window colour
  panel.Panel.Visible = false;
  MakeGreyLabel(panel.Caption, 8, 10, panel.DesignCaption);
  if (TUpDown* master = panel.UpDowns[0]) MakeAdjustRow(*master, 7, clWindow, clWindowText);
  static const char* const rowCaptions[3] = {"R:", "G:", "B:"};
  static const int32_t rowLabelTops[3] = {37, 65, 93};
  static const int32_t rowTops[3] = {34, 61, 88};
  for (int row = 0; row < 3; ++row) {
    MakeGreyLabel(*panel.RowLabels[row], 8, rowLabelTops[row], rowCaptions[row]);
    MakeAdjustRow(*panel.UpDowns[row + 1], rowTops[row], ChannelColors[row], White);
  }
  MakeGreyLabel(panel.ResetLabel, 9, 121, "Reset:");
  MakePanelButton(panel.ResetButton, 66, 115, 51, ">0<");
}

void TMainForm::WireEvents() {
  TabSet.OnChange = [this](int32_t newTab, bool& allowChange) { TabSetChange(newTab, allowChange); };
  DisplayComboBox.OnChange = [this] { DisplayComboBoxChange(); };
  NextDisplayButton.OnClick = [this] { NextDisplayButtonClick(); };
  StandardComboBox.OnChange = [this] { StandardComboBoxChange(); };
  OffButton.OnClick = [this] { OffButtonClick(); };
  ResetButton.OnClick = [this] { ResetButtonClick(); };
  MinimizeButton.OnClick = [this] { MinimizeButtonClick(); };
  OkButton.OnClick = [this] { OkButtonClick(); };
  CancelButton.OnClick = [this] { CancelButtonClick(); };

  for (const TAdjustPanel& panel : AdjustPanels) {
    for (TUpDown* upDown : panel.UpDowns)
      if (upDown) upDown->Associate.OnChange = [this, change = panel.Change] { (this->*change)(); };
    panel.ResetButton.OnClick = [this, reset = panel.ResetClick] { (this->*reset)(); };
  }
  PointPosEdit.OnChange = [this] { PointPosEditChange(); };
  PointCheckBox.OnClick = [this] { PointCheckBoxClick(); };
  PointPrevButton.OnClick = [this] { PointPrevButtonClick(); };
  PointNextButton.OnClick = [this] { PointNextButtonClick(); };
  PointClearButton.OnClick = [this] { PointClearButtonClick(); };

  LangComboBox.OnChange = [this] { LangComboBoxChange(); };
  FileLabel.OnClick = [this] { FileLabelClick(); };
}

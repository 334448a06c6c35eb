// The window's controls at their design geometry (96 DPI) and their wiring.
#include "ui/main_form.h"

#include "paint/page_pattern.h"
#include "ui/pages.h"

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

void MakeAdjustRow(TEdit& edit, TUpDown& upDown, int32_t top, TColor background, TColor text) {
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
    : View(view), FileDialog(fileDialog), Decoder(decoder) {
  BuildControls();
  WireEvents();
  if (systemDpi > 0 && systemDpi != DesignDpi) {
    ScaleControls(systemDpi, DesignDpi);
    PixelsPerInch = systemDpi;
  }
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
  for (const TPageInfo& page : Pages) TabSet.Tabs.push_back(page.DesignTab);

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
  RampRefusedLabel.OwnFont();
  RampRefusedLabel.Font.Color = RefusedTextColor;
  RampRefusedLabel.Transparent = true;
  RampRefusedLabel.AutoSize = false;
  RampRefusedLabel.WordWrap = true;
  RampRefusedLabel.Visible = false;
  DisplayComboBox.SetBounds(58, 29, 194, 21);
  StandardComboBox.SetBounds(396, 29, 194, 21);
  MakeBarButton(NextDisplayButton, 256, 29, 78, 21, "Next Display");
  MakeBarButton(OffButton, 761, 28, 100, 22, "LUT Off");
  MakeBarButton(ResetButton, 868, 4, 100, 22, "Reset");
  MakeBarButton(MinimizeButton, 868, 28, 100, 22, "Minimize");
  MakeBarButton(OkButton, 974, 4, 100, 22, "OK");
  MakeBarButton(CancelButton, 974, 28, 100, 22, "Cancel");
}

void TMainForm::BuildAdjustPanels() {
  BuildAdjustPanel({GammaPanel, 121, GammaLabel, "Gamma:", &GammaEdit, &GammaUpDown,
                    {&GammaRLabel, &GammaGLabel, &GammaBLabel}, {&GammaREdit, &GammaGEdit, &GammaBEdit},
                    {&GammaRUpDown, &GammaGUpDown, &GammaBUpDown}, GammaResetLabel, GammaResetButton});
  BuildAdjustPanel({BlackPanel, 121, BlackLabel, "Black:", &BlackEdit, &BlackUpDown,
                    {&BlackRLabel, &BlackGLabel, &BlackBLabel}, {&BlackREdit, &BlackGEdit, &BlackBEdit},
                    {&BlackRUpDown, &BlackGUpDown, &BlackBUpDown}, BlackResetLabel, BlackResetButton});
  BuildAdjustPanel({WhitePanel, 123, WhiteLabel, "White:", &WhiteEdit, &WhiteUpDown,
                    {&WhiteRLabel, &WhiteGLabel, &WhiteBLabel}, {&WhiteREdit, &WhiteGEdit, &WhiteBEdit},
                    {&WhiteRUpDown, &WhiteGUpDown, &WhiteBUpDown}, WhiteResetLabel, WhiteResetButton});
  BuildAdjustPanel({BalancePanel, 121, BalanceLabel, "Balance:", nullptr, nullptr,
                    {&BalanceRLabel, &BalanceGLabel, &BalanceBLabel},
                    {&BalanceREdit, &BalanceGEdit, &BalanceBEdit},
                    {&BalanceRUpDown, &BalanceGUpDown, &BalanceBUpDown}, BalanceResetLabel, BalanceResetButton});
  BuildAdjustPanel({PointPanel, 247, PointLabel, "Value:", &PointEdit, &PointUpDown,
                    {&PointRLabel, &PointGLabel, &PointBLabel}, {&PointREdit, &PointGEdit, &PointBEdit},
                    {&PointRUpDown, &PointGUpDown, &PointBUpDown}, PointResetLabel, PointResetButton});
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
  WelcomePanel.Color = Black;
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

void TMainForm::BuildAdjustPanel(const TAdjustPanelParts& parts) {
  parts.Panel.SetBounds(0, 0, parts.Width, AdjustPanelHeight);
  parts.Panel.ParentColor = true;  // panels take the page's window colour
  parts.Panel.Visible = false;
  MakeGreyLabel(parts.Caption, 8, 10, parts.CaptionText);
  if (parts.MasterEdit) MakeAdjustRow(*parts.MasterEdit, *parts.MasterUpDown, 7, clWindow, clWindowText);
  static const char* const rowCaptions[3] = {"R:", "G:", "B:"};
  static const int32_t rowLabelTops[3] = {37, 65, 93};
  static const int32_t rowTops[3] = {34, 61, 88};
  for (int row = 0; row < 3; ++row) {
    MakeGreyLabel(*parts.RowLabels[row], 8, rowLabelTops[row], rowCaptions[row]);
    MakeAdjustRow(*parts.RowEdits[row], *parts.RowUpDowns[row], rowTops[row], ChannelColors[row], White);
  }
  MakeGreyLabel(parts.ResetLabel, 9, 121, "Reset:");
  MakePanelButton(parts.ResetButton, 66, 115, 51, ">0<");
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

  for (TEdit* edit : {&GammaEdit, &GammaREdit, &GammaGEdit, &GammaBEdit}) edit->OnChange = [this] { GammaChange(); };
  for (TEdit* edit : {&BlackEdit, &BlackREdit, &BlackGEdit, &BlackBEdit}) edit->OnChange = [this] { BlackChange(); };
  for (TEdit* edit : {&WhiteEdit, &WhiteREdit, &WhiteGEdit, &WhiteBEdit}) edit->OnChange = [this] { WhiteChange(); };
  for (TEdit* edit : {&BalanceREdit, &BalanceGEdit, &BalanceBEdit}) edit->OnChange = [this] { BalanceChange(); };
  for (TEdit* edit : {&PointEdit, &PointREdit, &PointGEdit, &PointBEdit})
    edit->OnChange = [this] { PointEditChange(); };
  PointPosEdit.OnChange = [this] { PointPosEditChange(); };

  GammaResetButton.OnClick = [this] { GammaResetButtonClick(); };
  BlackResetButton.OnClick = [this] { BlackResetButtonClick(); };
  WhiteResetButton.OnClick = [this] { WhiteResetButtonClick(); };
  BalanceResetButton.OnClick = [this] { BalanceResetButtonClick(); };
  PointResetButton.OnClick = [this] { PointResetButtonClick(); };
  PointCheckBox.OnClick = [this] { PointCheckBoxClick(); };
  PointPrevButton.OnClick = [this] { PointPrevButtonClick(); };
  PointNextButton.OnClick = [this] { PointNextButtonClick(); };
  PointClearButton.OnClick = [this] { PointClearButtonClick(); };

  LangComboBox.OnChange = [this] { LangComboBoxChange(); };
  FileLabel.OnClick = [this] { FileLabelClick(); };
}

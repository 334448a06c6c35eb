// MainFrm: the calibration window's logic over the control model. It covers
// one display with a silver bar of page tabs, choosers and buttons along the
// bottom and small adjustment panels over the test pattern; every change of
// a control goes into the edited display's record and from there into its
// video card at once.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ramp/curve_assignment.h"
#include "paint/canvas.h"
#include "paint/image_decoder.h"
#include "paint/pages.h"
#include "paint/ramp_preview.h"
#include "paint/scaling.h"
#include "ramp/records.h"
#include "ui/controls.h"
#include "ui/main_view.h"
#include "tonemark_version.h"

// The product and its version, as the welcome page names it.
inline const char* const ProductVersionName = "Tonemark " TONEMARK_VERSION;
// The application title, also the caption of the window's message boxes.
inline const char* const ApplicationTitleText = "Orvana Tonemark " TONEMARK_VERSION;

constexpr uint16_t VkTab = 0x09;
constexpr uint32_t ssShift = 1, ssAlt = 2, ssCtrl = 4;

class TMainForm {
 public:
  // Builds every control at its design geometry and scales the whole window
  // from 96 DPI to `systemDpi`. FormCreate then starts the session.
  // Without a decoder no picture is loaded.
  TMainForm(TMainView& view, TFileDialog& fileDialog, TImageDecoder* decoder, int32_t systemDpi);

  TMainView& View;
  TFileDialog& FileDialog;
  TImageDecoder* Decoder;
  // Set by the program once the background window exists.
  TBackgroundView* Background = nullptr;

  // The window itself: its desktop rectangle, colour and font.
  TControl Window{TControlKind::Form, "MainForm", nullptr};

  // The bar's notice, in a row of its own right above the bar: shown while
  // the edited display refuses the ramp last loaded into it, and why.
  TPanel NoticePanel{"NoticePanel", &Window};
  TLabel RampRefusedLabel{"RampRefusedLabel", &NoticePanel, &View};

  // Bottom bar. Controls are declared in keyboard focus order.
  TPanel Panel{"Panel", &Window};
  TTabSet TabSet{"TabSet", &Panel};
  TLabel DisplayLabel{"DisplayLabel", &Panel, &View};
  TComboBox DisplayComboBox{"DisplayComboBox", &Panel};
  TButton NextDisplayButton{"NextDisplayButton", &Panel};
  TLabel StandardLabel{"StandardLabel", &Panel, &View};
  TComboBox StandardComboBox{"StandardComboBox", &Panel};
  TButton OffButton{"OffButton", &Panel};
  TButton ResetButton{"ResetButton", &Panel};
  TButton MinimizeButton{"MinimizeButton", &Panel};
  TButton OkButton{"OkButton", &Panel};
  TButton CancelButton{"CancelButton", &Panel};

  TPanel BlackPanel{"BlackPanel", &Window};
  TLabel BlackLabel{"BlackLabel", &BlackPanel, &View};
  TEdit BlackEdit{"BlackEdit", &BlackPanel};
  TUpDown BlackUpDown{"BlackUpDown", &BlackPanel, BlackEdit};
  TLabel BlackRLabel{"BlackRLabel", &BlackPanel, &View};
  TEdit BlackREdit{"BlackREdit", &BlackPanel};
  TUpDown BlackRUpDown{"BlackRUpDown", &BlackPanel, BlackREdit};
  TLabel BlackGLabel{"BlackGLabel", &BlackPanel, &View};
  TEdit BlackGEdit{"BlackGEdit", &BlackPanel};
  TUpDown BlackGUpDown{"BlackGUpDown", &BlackPanel, BlackGEdit};
  TLabel BlackBLabel{"BlackBLabel", &BlackPanel, &View};
  TEdit BlackBEdit{"BlackBEdit", &BlackPanel};
  TUpDown BlackBUpDown{"BlackBUpDown", &BlackPanel, BlackBEdit};
  TLabel BlackResetLabel{"BlackResetLabel", &BlackPanel, &View};
  TButton BlackResetButton{"BlackResetButton", &BlackPanel};

  TPanel WhitePanel{"WhitePanel", &Window};
  TLabel WhiteLabel{"WhiteLabel", &WhitePanel, &View};
  TEdit WhiteEdit{"WhiteEdit", &WhitePanel};
  TUpDown WhiteUpDown{"WhiteUpDown", &WhitePanel, WhiteEdit};
  TLabel WhiteRLabel{"WhiteRLabel", &WhitePanel, &View};
  TEdit WhiteREdit{"WhiteREdit", &WhitePanel};
  TUpDown WhiteRUpDown{"WhiteRUpDown", &WhitePanel, WhiteREdit};
  TLabel WhiteGLabel{"WhiteGLabel", &WhitePanel, &View};
  TEdit WhiteGEdit{"WhiteGEdit", &WhitePanel};
  TUpDown WhiteGUpDown{"WhiteGUpDown", &WhitePanel, WhiteGEdit};
  TLabel WhiteBLabel{"WhiteBLabel", &WhitePanel, &View};
  TEdit WhiteBEdit{"WhiteBEdit", &WhitePanel};
  TUpDown WhiteBUpDown{"WhiteBUpDown", &WhitePanel, WhiteBEdit};
  TLabel WhiteResetLabel{"WhiteResetLabel", &WhitePanel, &View};
  TButton WhiteResetButton{"WhiteResetButton", &WhitePanel};

  TPanel PointPanel{"PointPanel", &Window};
  TLabel PointLabel{"PointLabel", &PointPanel, &View};
  TEdit PointEdit{"PointEdit", &PointPanel};
  TUpDown PointUpDown{"PointUpDown", &PointPanel, PointEdit};
  TLabel PointRLabel{"PointRLabel", &PointPanel, &View};
  TEdit PointREdit{"PointREdit", &PointPanel};
  TUpDown PointRUpDown{"PointRUpDown", &PointPanel, PointREdit};
  TLabel PointGLabel{"PointGLabel", &PointPanel, &View};
  TEdit PointGEdit{"PointGEdit", &PointPanel};
  TUpDown PointGUpDown{"PointGUpDown", &PointPanel, PointGEdit};
  TLabel PointBLabel{"PointBLabel", &PointPanel, &View};
  TEdit PointBEdit{"PointBEdit", &PointPanel};
  TUpDown PointBUpDown{"PointBUpDown", &PointPanel, PointBEdit};
  TLabel PointResetLabel{"PointResetLabel", &PointPanel, &View};
  TButton PointResetButton{"PointResetButton", &PointPanel};
  TCheckBox PointCheckBox{"PointCheckBox", &PointPanel};
  TLabel PointPosLabel{"PointPosLabel", &PointPanel, &View};
  TEdit PointPosEdit{"PointPosEdit", &PointPanel};
  TUpDown PointPosUpDown{"PointPosUpDown", &PointPanel, PointPosEdit};
  TButton PointPrevButton{"PointPrevButton", &PointPanel};
  TButton PointNextButton{"PointNextButton", &PointPanel};
  TButton PointClearButton{"PointClearButton", &PointPanel};

  TPanel BalancePanel{"BalancePanel", &Window};
  TLabel BalanceLabel{"BalanceLabel", &BalancePanel, &View};
  TLabel BalanceRLabel{"BalanceRLabel", &BalancePanel, &View};
  TEdit BalanceREdit{"BalanceREdit", &BalancePanel};
  TUpDown BalanceRUpDown{"BalanceRUpDown", &BalancePanel, BalanceREdit};
  TLabel BalanceGLabel{"BalanceGLabel", &BalancePanel, &View};
  TEdit BalanceGEdit{"BalanceGEdit", &BalancePanel};
  TUpDown BalanceGUpDown{"BalanceGUpDown", &BalancePanel, BalanceGEdit};
  TLabel BalanceBLabel{"BalanceBLabel", &BalancePanel, &View};
  TEdit BalanceBEdit{"BalanceBEdit", &BalancePanel};
  TUpDown BalanceBUpDown{"BalanceBUpDown", &BalancePanel, BalanceBEdit};
  TLabel BalanceResetLabel{"BalanceResetLabel", &BalancePanel, &View};
  TButton BalanceResetButton{"BalanceResetButton", &BalancePanel};

  TPanel GammaPanel{"GammaPanel", &Window};
  TLabel GammaLabel{"GammaLabel", &GammaPanel, &View};
  TEdit GammaEdit{"GammaEdit", &GammaPanel};
  TUpDown GammaUpDown{"GammaUpDown", &GammaPanel, GammaEdit};
  TLabel GammaRLabel{"GammaRLabel", &GammaPanel, &View};
  TEdit GammaREdit{"GammaREdit", &GammaPanel};
  TUpDown GammaRUpDown{"GammaRUpDown", &GammaPanel, GammaREdit};
  TLabel GammaGLabel{"GammaGLabel", &GammaPanel, &View};
  TEdit GammaGEdit{"GammaGEdit", &GammaPanel};
  TUpDown GammaGUpDown{"GammaGUpDown", &GammaPanel, GammaGEdit};
  TLabel GammaBLabel{"GammaBLabel", &GammaPanel, &View};
  TEdit GammaBEdit{"GammaBEdit", &GammaPanel};
  TUpDown GammaBUpDown{"GammaBUpDown", &GammaPanel, GammaBEdit};
  TLabel GammaResetLabel{"GammaResetLabel", &GammaPanel, &View};
  TButton GammaResetButton{"GammaResetButton", &GammaPanel};

  TPanel WelcomePanel{"WelcomePanel", &Window};
  TLabel AppWelcomeLabel{"AppWelcomeLabel", &WelcomePanel, &View};
  TImage AboutImage{"AboutImage", &WelcomePanel};
  TLabel WelcomeLabel{"WelcomeLabel", &WelcomePanel, &View};

  TPanel LangPanel{"LangPanel", &Window};
  TLabel LangLabel{"LangLabel", &LangPanel, &View};
  TComboBox LangComboBox{"LangComboBox", &LangPanel};

  TLabel FileLabel{"FileLabel", &Window, &View};
  TLabel HelpLabel{"HelpLabel", &Window, &View};

  // Window state. ReferenceJpeg, the decoded reference photograph, exists
  // from FormCreate until the window closes, empty until a picture is loaded.
  std::unique_ptr<TBitmap> ReferenceJpeg;
  int32_t PixelsPerInch = DesignDpi;
  std::string ApplicationTitle;
  bool StayOnTop = true;
  bool DoubleBuffered = false;
  bool Closed = false;
  int32_t DisplayIndex = 0;
  bool LutActive = true;
  // The edited display takes no live ramp: the window shows its pattern
  // through the edited ramp itself while LutActive (the preview inside the
  // window).
  bool PreviewInWindow = false;
  bool RestoreOnClose = true;
  bool EventsEnabled = false;
  // Displays whose curve file could not be read at the start: OK must not
  // replace such a file with a record that was not read from it.
  std::vector<bool> UnreadCurveFiles;
  // Which curve file is each display's own, found at the session's start.
  TCurveAssignment CurveFiles;

  // Layout (main_form_layout.cpp).
  int32_t Scale(int32_t designSize) const;
  void LayoutWindow();
  // The bar is aligned to the window's bottom edge: it follows every change
  // of the window's size at once, as pages placed above it rely on.
  void AlignBar();
  // The notice's row: the window's width, as high as its wrapped text, on
  // top of the bar. ArrangePage runs it.
  void LayoutNotice();
  // Where the rows along the bottom edge begin: the bar's top, or the
  // notice's while its row is shown. Pages place their panels above it.
  int32_t BottomRowsTop() const;
  void LoadArtwork();
  // WM_DPICHANGED; the new DPI is the low word of the first parameter.
  void DpiChanged(uintptr_t wParam);
  // The system moves a per-monitor-aware window's DPI with its display: a
  // view whose system does not report it (simulated displays) calls this
  // after FormCreate and after each input it passes on.
  void FollowDisplayDpi();
  // Every control's geometry and font height times numerator / denominator.
  void ScaleControls(int32_t numerator, int32_t denominator);

  // The adjustment loop (main_form_adjust.cpp).
  void SyncControls();
  void ApplyCurve();
  void GammaChange();
  void BlackChange();
  void WhiteChange();
  void BalanceChange();
  void PointEditChange();
  void PointPosEditChange();
  void PointCheckBoxClick();
  void PointPrevButtonClick();
  void PointNextButtonClick();
  void PointClearButtonClick();
  void PointResetButtonClick();
  void GammaResetButtonClick();
  void BlackResetButtonClick();
  void WhiteResetButtonClick();
  void BalanceResetButtonClick();
  void ResetButtonClick();

  // Pages and captions (main_form_pages.cpp).
  void ShowPage(int32_t page);
  // Places the current page's panels, labels and colours for the window's
  // present size and DPI, as showing the page does, without its other
  // effects; after every change of display or DPI.
  void ArrangePage();
  void TabSetChange(int32_t newTab, bool& allowChange);
  void TranslateCaptions();

  // The editing session (main_form_session.cpp).
  void FormCreate();
  void SelectDisplay(int32_t index);
  void DisplayComboBoxChange();
  void NextDisplayButtonClick();
  void StandardComboBoxChange();
  void OffButtonClick();
  void MinimizeButtonClick();
  // Key preview: every key reaches this first and is passed on unchanged.
  void FormKeyDown(uint16_t key, uint32_t shift);
  void FillLanguages();
  void LangComboBoxChange();
  void FileLabelClick();
  void OkButtonClick();
  void CancelButtonClick();
  // Any way of closing: the system's close command as well as the buttons.
  void Close();
  // False when the window has to stay open (a curve file could not be written).
  bool FormClose();

  // What the paint handler hands to the page painter: the height above the
  // bar. The notice's row lies over the pattern, as the panels do.
  int32_t PatternHeight() const { return Panel.Top; }
  // Paints the client area (without the controls) on the view's canvas.
  void FormPaint(TCanvas& canvas);
  // What the preview inside the window draws through; nothing while it is off.
  std::optional<TLevelMap> PreviewLevels() const;
  // `color` as the window shows it: through the preview while it is on.
  TColor ShownColor(TColor color) const;

 private:
  // The edited display's size, which pages centre on.
  int32_t DisplayWidth() const;
  int32_t DisplayHeight() const;
  // Parts of ShowPage (main_form_pages.cpp).
  void SelectTabQuietly(int32_t page);
  void MoveToPagePoint(int32_t page);
  void FindReferencePicture();
  void ArrangeHelpText();
  void ArrangeWelcome();
  void ArrangePanels();
  void ArrangeFileLabel();
  // Decodes the file at the reference-image path into ReferenceJpeg.
  void LoadReferencePicture();
  // An adjustment panel, described once: its controls and the fields of the
  // edited record that its rows show. Rows are master, R, G and B; a panel
  // without a master row has null there.
  using TRowFields = std::array<int32_t*, 4>;
  struct TAdjustPanel {
    TPanel& Panel;
    int32_t Width;
    TLabel& Caption;
    const char* DesignCaption;
    const char* CaptionKey;
    std::array<TUpDown*, 4> UpDowns;  // each with its edit as Associate
    std::array<TLabel*, 3> RowLabels;
    TLabel& ResetLabel;
    TButton& ResetButton;
    TRowFields (*Fields)(TRampCurve& curve);
    void (TMainForm::*Change)();
    void (TMainForm::*ResetClick)();
  };
  // In the order of TAdjustGroup (main_form.cpp).
  const std::array<TAdjustPanel, AdjustGroupCount> AdjustPanels;
  const TAdjustPanel& AdjustPanel(TAdjustGroup group) const;
  // The adjustment loop's steps shared by the panels (main_form_adjust.cpp).
  void StorePanel(TAdjustGroup group);
  void PanelChange(TAdjustGroup group);
  void ResetPanel(TAdjustGroup group);
  // The controls at their design geometry (main_form.cpp).
  void BuildControls();
  void BuildBar();
  void BuildAdjustPanels();
  void BuildAdjustPanel(const TAdjustPanel& panel);
  void BuildPointControls();
  void BuildWelcomePanel();
  void BuildLanguagePanel();
  void BuildPageLabels();
  void WireEvents();
  // Says in the bar whether the edited display took the ramp just loaded.
  void ShowRampLoaded(bool loaded);
  // The bar's line about the last ramp refused, in the present language.
  std::string RampRefusedCaption() const;
  // Why the edited display takes no ramp at all, as its back-end says.
  std::string RampRefusal;
  // The window's colour follows the preview's ramp (main_form_paint.cpp).
  void ShowPreview();
  void ReadCurveFiles();
  // Writes every readable display's curve file, all or none; the paths left
  // alone go to `skippedFiles`, one per line. False, after telling the user,
  // when nothing could be stored.
  bool StoreCurveFiles(std::string& skippedFiles);
};


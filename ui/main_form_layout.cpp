// The window's place on its display, the bottom bar's anchoring and DPI
// changes.
#include <algorithm>

#include "paint/page_pattern.h"
#include "paint/scaling.h"
#include "ramp/displays_port.h"
#include "ramp/records.h"
#include "ui/main_form.h"

namespace {

constexpr int32_t RightButtonPitch = 104;  // one button width and a gap
constexpr int32_t TabSetRightGap = 15;
// The notice's text stands as far in as the bar's first label.
constexpr int32_t NoticeInset = 5, NoticePadding = 3;
constexpr uint32_t LowWordMask = 0xFFFF;
constexpr const char* ArtworkResource = "heropng";

}  // namespace

int32_t TMainForm::Scale(int32_t designSize) const { return ::Scale(designSize, PixelsPerInch); }

void TMainForm::LayoutWindow() {
  // Without the display there is nothing to cover; the window keeps its place.
  if (DisplayIndex < 0 || DisplayIndex >= DisplayCount) return;
  const TRect& monitor = Displays[DisplayIndex].MonitorInfo.Monitor;
  Window.SetBounds(monitor.Left, monitor.Top, monitor.Right - monitor.Left, monitor.Bottom - monitor.Top);

  Panel.Height = Scale(BarDesignHeight);
  AlignBar();

  OkButton.Left = Panel.Width - Scale(RightButtonPitch);
  CancelButton.Left = OkButton.Left;
  ResetButton.Left = OkButton.Left - Scale(RightButtonPitch);
  MinimizeButton.Left = ResetButton.Left;
  TabSet.Left = 1;
  TabSet.Width = Panel.Width - ResetButton.Width - OkButton.Width - Scale(TabSetRightGap);
  OffButton.Left = MinimizeButton.Left - Scale(RightButtonPitch);
}

void TMainForm::AlignBar() { Panel.SetBounds(0, Window.Height - Panel.Height, Window.Width, Panel.Height); }

// The bar has no room to spare between its controls for a reason of two
// hundred characters: the notice takes a row of the window's width, and as
// many lines as the present language, font and DPI need, so that the whole
// of it is read at every size.
void TMainForm::LayoutNotice() {
  if (!NoticePanel.Visible) return;
  const int32_t textWidth = std::max(Window.Width - 2 * Scale(NoticeInset), 0);
  RampRefusedLabel.SetBounds(Scale(NoticeInset), Scale(NoticePadding), textWidth, 0);
  RampRefusedLabel.AdjustHeight();
  const int32_t height = RampRefusedLabel.Height + 2 * Scale(NoticePadding);
  NoticePanel.SetBounds(0, Panel.Top - height, Window.Width, height);
}

int32_t TMainForm::BottomRowsTop() const { return NoticePanel.Visible ? NoticePanel.Top : Panel.Top; }

void TMainForm::LoadArtwork() { AboutImage.PictureResource = ArtworkResource; }

void TMainForm::ScaleControls(int32_t numerator, int32_t denominator) {
  for (TControl* control : ControlTree(Window)) {
    if (control != &Window) {
      control->Left = MulDivRounded(control->Left, numerator, denominator);
      control->Top = MulDivRounded(control->Top, numerator, denominator);
      control->Width = MulDivRounded(control->Width, numerator, denominator);
      control->Height = MulDivRounded(control->Height, numerator, denominator);
    }
    // Controls that follow their parent's font change with it.
    if (!control->ParentFont || control == &Window)
      control->Font.Height = MulDivRounded(control->Font.Height, numerator, denominator);
  }
  for (TControl* control : ControlTree(Window))
    if (control->Kind == TControlKind::Label) static_cast<TLabel*>(control)->AdjustSize();
}

void TMainForm::DpiChanged(uintptr_t wParam) {
  const int32_t oldDpi = PixelsPerInch;
  const int32_t newDpi = static_cast<int32_t>(wParam & LowWordMask);
  // A zero DPI would leave every later scale dividing by zero.
  if (newDpi == 0) return;
  PixelsPerInch = newDpi;
  ScaleControls(newDpi, oldDpi);
  LayoutWindow();
  ArrangePage();
  View.Repaint();
}

void TMainForm::FollowDisplayDpi() {
  if (DisplayIndex < 0 || DisplayIndex >= DisplayCount) return;
  const int32_t dpi = DisplaysPort().MonitorDpi(Displays[DisplayIndex].Monitor);
  if (dpi > 0 && dpi != PixelsPerInch) DpiChanged(static_cast<uintptr_t>(dpi) << 16 | static_cast<uintptr_t>(dpi));
}

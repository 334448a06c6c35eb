// The paint handler: the page's window colour, then its pattern; and the
// preview inside the window.
#include "paint/page_pattern.h"
#include "ramp/records.h"
#include "ui/main_form.h"

void TMainForm::FormPaint(TCanvas& canvas) {
  FillRectangle(canvas, 0, 0, Window.Width, Window.Height, Window.Color);
  // The colour profile is the chosen display's; with none chosen there is no
  // profile to apply.
  const int32_t chosen = DisplayComboBox.ItemIndex;
  const TDisplayHandle displayDC = chosen >= 0 && chosen < DisplayCount ? Displays[chosen].DC : nullptr;
  const std::optional<TLevelMap> preview = PreviewLevels();
  PaintPagePattern(canvas, PixelsPerInch, Window.Width, displayDC, ReferenceJpeg.get(), PatternHeight(),
                   preview ? &*preview : nullptr);
}

// The session's ramp is WorkRamp, built from the edited record even where
// the display refused it; LUT Off shows the pattern as it is.
std::optional<TLevelMap> TMainForm::PreviewLevels() const {
  if (!PreviewInWindow || !LutActive) return std::nullopt;
  return RampLevelMap(WorkRamp);
}

TColor TMainForm::ShownColor(TColor color) const {
  const std::optional<TLevelMap> preview = PreviewLevels();
  return preview ? MapColor(*preview, color) : color;
}

// The window's colour (and so the panels') is painted over the whole client
// area, under the pattern: it is mapped here rather than in FormPaint.
void TMainForm::ShowPreview() {
  Window.Color = ShownColor(PageLook(CurrentPage).WindowColor);
  View.Repaint();
}

// The paint handler: the page's window colour, then its pattern.
#include "paint/page_pattern.h"
#include "ramp/records.h"
#include "ui/main_form.h"

void TMainForm::FormPaint(TCanvas& canvas) {
  FillRectangle(canvas, 0, 0, Window.Width, Window.Height, Window.Color);
  // The colour profile is the chosen display's; with none chosen there is no
  // profile to apply.
  const int32_t chosen = DisplayComboBox.ItemIndex;
  const TDisplayHandle displayDC = chosen >= 0 && chosen < DisplayCount ? Displays[chosen].DC : nullptr;
  PaintPagePattern(canvas, PixelsPerInch, Window.Width, displayDC, ReferenceJpeg.get(), PatternHeight());
}

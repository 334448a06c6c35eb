#include "paint/reference_image.h"

#include "paint/mini_icm.h"
#include "paint/scaling.h"

void PaintReferenceImage(TCanvas& canvas, const TBitmap* reference, TDisplayHandle displayDC) {
  if (!reference || reference->Width <= 0 || reference->Height <= 0) return;
  // The transform works in place, so the loaded picture itself never changes.
  TBitmap bitmap = *reference;
  ApplyDisplayProfile(bitmap, displayDC);
  canvas.Draw(CenteredLeft(bitmap.Width), CenteredTop(bitmap.Height), bitmap);
}

#include "paint/background_form.h"

#include <algorithm>

#include "paint/page_pattern.h"
#include "paint/page_state.h"
#include "paint/primitives.h"

// The background takes the calibration window's colour of the page.
TColor BackgroundColor(int32_t page) { return PageLook(page).WindowColor; }

TRect VirtualDesktop(const std::vector<TRect>& monitors) {
  if (monitors.empty()) return TRect{};
  TRect bounds = monitors.front();
  for (const TRect& monitor : monitors) {
    bounds.Left = std::min(bounds.Left, monitor.Left);
    bounds.Top = std::min(bounds.Top, monitor.Top);
    bounds.Right = std::max(bounds.Right, monitor.Right);
    bounds.Bottom = std::max(bounds.Bottom, monitor.Bottom);
  }
  return bounds;
}

TBackgroundPlacement BackgroundPlacement(int32_t displayCount, const std::vector<TRect>& monitors) {
  return {displayCount > 1, VirtualDesktop(monitors)};
}

void PaintBackground(TCanvas& canvas, const TRect& desktop, const std::vector<TRect>& monitors) {
  const int32_t page = CurrentPage;
  FillRectangle(canvas, 0, 0, desktop.Right - desktop.Left, desktop.Bottom - desktop.Top,
                BackgroundColor(page));
  if (page != ColorBalancePage) return;
  for (const TRect& monitor : monitors) {
    const int32_t w = monitor.Right - monitor.Left, h = monitor.Bottom - monitor.Top;
    const int32_t mx = monitor.Left - desktop.Left, my = monitor.Top - desktop.Top;
    DrawHorizontalGradient(canvas, mx + (w / 2) / 2, my + (h / 2) / 2 + (h / 2) / 4, w / 2,
                           (h / 2) / 2, Black, White);
  }
}

// The calibration window's pictures: the page's pattern with the labels over
// it, the panels with theirs, the tabs, and the colours of the common controls.
#include <algorithm>

#include "platform/windows/main_window_view.h"

void TMainWindowView::Compose() {
  composeNeeded_ = false;
  const int32_t width = form_->Window.Width, height = form_->Window.Height;
  if (!frame_.Resize(width, height)) return;
  if (!pattern_ || pattern_->Width() != width || pattern_->Height() != height) {
    pattern_ = std::make_unique<TRasterCanvas>(width, height, &fonts_);
    patternDirty_ = true;
  }
  if (patternDirty_) {
    const TControlFont& font = form_->Window.Font;
    pattern_->SetFont(TFont{font.Name, font.Height});
    form_->FormPaint(*pattern_);
    patternDirty_ = false;
  }
  // The labels' old places come back as pattern, and so count as changed.
  RECT changed = frame_.CopyFrom(*pattern_);
  PaintWindowless(frame_.Dc(), form_->Window, fonts_, pictures_);
  for (const TControl* child : form_->Window.Children)
    if ((child->Kind == TControlKind::Label || child->Kind == TControlKind::Image) && child->Visible) {
      const RECT label{child->Left - 2, child->Top - 2, child->Left + child->Width + 4, child->Top + child->Height + 2};
      UnionRect(&changed, &changed, &label);
    }
  InvalidateRect(window_, &changed, FALSE);
}

void TMainWindowView::PaintPanel(HWND window, const TControl& panel, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  // One buffer serves every panel: it only grows.
  if ((panelFrame_.Width() < client.right || panelFrame_.Height() < client.bottom) &&
      !panelFrame_.Resize(std::max<int32_t>(panelFrame_.Width(), client.right),
                          std::max<int32_t>(panelFrame_.Height(), client.bottom)))
    return;
  SetDCBrushColor(panelFrame_.Dc(), ResolveColor(panel.EffectiveColor()));
  FillRect(panelFrame_.Dc(), &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  PaintWindowless(panelFrame_.Dc(), panel, fonts_, pictures_);
  BitBlt(dc, 0, 0, client.right, client.bottom, panelFrame_.Dc(), 0, 0, SRCCOPY);
}

// Tabs in the strip's colour, the selected one in the face colour.
void TMainWindowView::DrawTab(const DRAWITEMSTRUCT& item) {
  TNativeControl* native = Native(item.hwndItem);
  if (!native || native->Control->Kind != TControlKind::TabSet) return;
  const auto& tabs = static_cast<const TTabSet&>(*native->Control);
  const bool selected = static_cast<int32_t>(item.itemID) == tabs.TabIndex;
  SetDCBrushColor(item.hDC, selected ? GetSysColor(COLOR_BTNFACE) : ResolveColor(tabs.EffectiveColor()));
  RECT bounds = item.rcItem;
  FillRect(item.hDC, &bounds, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  if (item.itemID >= tabs.Tabs.size()) return;
  const std::string& text = tabs.Tabs[item.itemID];
  SelectObject(item.hDC, fonts_.Font(tabs.EffectiveFont()));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
  DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &bounds,
            DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}

LRESULT TMainWindowView::ControlColors(UINT message, HDC dc, HWND handle) {
  TNativeControl* native = Native(handle);
  if (!native || native->Control->Kind == TControlKind::ComboBox) return 0;
  const TControl& control = *native->Control;
  // Round a push button lies its parent.
  if (message == WM_CTLCOLORBTN) return reinterpret_cast<LRESULT>(Brush(ResolveColor(control.Parent->EffectiveColor())));
  const COLORREF background = ResolveColor(control.EffectiveColor());
  SetTextColor(dc, ResolveColor(control.EffectiveFont().Color));
  SetBkColor(dc, background);
  return reinterpret_cast<LRESULT>(Brush(background));
}

HBRUSH TMainWindowView::Brush(COLORREF color) {
  HBRUSH& brush = brushes_[color];
  if (!brush) brush = CreateSolidBrush(color);
  return brush;
}

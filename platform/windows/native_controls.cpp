#include "platform/windows/native_controls.h"

#include <commctrl.h>
#include <windowsx.h>
#include <uxtheme.h>

namespace {

// The list that drops down below a drop-down list: its window is this much
// taller than the closed box the control model gives.
constexpr int32_t DropDownLines = 12;
// A closed drop-down list is its selection field and two borders of 3 pixels.
constexpr int32_t ComboFrame = 6;

// Push buttons of the bar never take the keyboard focus, as the model's
// TabStop says; the standard button takes it on every press, so such a
// button follows the mouse itself and reports its click as the standard one.
LRESULT CALLBACK NoFocusButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  auto inside = [button](LPARAM point) {
    RECT client;
    GetClientRect(button, &client);
    return PtInRect(&client, POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)}) != FALSE;
  };
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetCapture(button);
      SendMessageA(button, BM_SETSTATE, TRUE, 0);
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == button) SendMessageA(button, BM_SETSTATE, inside(lParam), 0);
      break;
    case WM_LBUTTONUP:
      if (GetCapture() == button) {
        ReleaseCapture();
        if (inside(lParam))
          SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
      }
      return 0;
    case WM_CAPTURECHANGED:
      SendMessageA(button, BM_SETSTATE, FALSE, 0);
      break;
  }
  return DefSubclassProc(button, message, wParam, lParam);
}

// The tab strip's background is the bar's silver, not the system's face colour.
LRESULT CALLBACK TabStripProc(HWND tabs, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR control) {
  if (message == WM_ERASEBKGND) {
    RECT client;
    GetClientRect(tabs, &client);
    SetDCBrushColor(reinterpret_cast<HDC>(wParam),
                    ResolveColor(reinterpret_cast<const TControl*>(control)->EffectiveColor()));
    FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    return 1;
  }
  return DefSubclassProc(tabs, message, wParam, lParam);
}

HWND CreateChild(DWORD exStyle, const char* className, DWORD style, HWND parent, int id) {
  return CreateWindowExA(exStyle, className, "", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void SyncTabs(TNativeControl& native, const TTabSet& tabs) {
  if (native.Items != tabs.Tabs) {
    TabCtrl_DeleteAllItems(native.Handle);
    for (size_t i = 0; i < tabs.Tabs.size(); ++i) {
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<char*>(tabs.Tabs[i].c_str());
      SendMessageA(native.Handle, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    native.Items = tabs.Tabs;
    native.ItemIndex = -1;
  }
  if (native.ItemIndex != tabs.TabIndex) {
    TabCtrl_SetCurSel(native.Handle, tabs.TabIndex);
    native.ItemIndex = tabs.TabIndex;
  }
}

void SyncComboBox(TNativeControl& native, const TComboBox& combo) {
  if (native.Items != combo.Items) {
    SendMessageA(native.Handle, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : combo.Items)
      SendMessageA(native.Handle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    native.Items = combo.Items;
    native.ItemIndex = -2;
  }
  if (native.ItemIndex != combo.ItemIndex) {
    SendMessageA(native.Handle, CB_SETCURSEL, static_cast<WPARAM>(combo.ItemIndex), 0);
    native.ItemIndex = combo.ItemIndex;
  }
}

void SyncUpDown(TNativeControl& native, const TUpDown& upDown) {
  if (native.Min != upDown.Min || native.Max != upDown.Max || native.Fresh) {
    SendMessageA(native.Handle, UDM_SETRANGE32, static_cast<WPARAM>(upDown.Min), upDown.Max);
    native.Min = upDown.Min;
    native.Max = upDown.Max;
  }
  if (native.Position != upDown.Position || native.Fresh) {
    SendMessageA(native.Handle, UDM_SETPOS32, 0, upDown.Position);
    native.Position = upDown.Position;
  }
}

void SyncEditText(TNativeControl& native, const TEdit& edit) {
  if (native.Text == edit.Text && !native.Fresh) return;
  // Text the user typed is already there; rewriting it would move the caret.
  char shown[256] = {};
  GetWindowTextA(native.Handle, shown, sizeof shown);
  if (edit.Text != shown) SetWindowTextA(native.Handle, edit.Text.c_str());
  native.Text = edit.Text;
}

TControlLook LookOf(const TControl& control) {
  TControlLook look;
  look.Left = control.Left;
  look.Top = control.Top;
  look.Width = control.Width;
  look.Height = control.Height;
  look.Caption = control.Caption;
  look.Font = control.EffectiveFont();
  look.Color = control.Transparent ? 0 : control.EffectiveColor();
  look.Visible = control.Visible;
  look.Enabled = control.Enabled;
  if (control.Kind == TControlKind::Image) look.Picture = static_cast<const TImage&>(control).PictureResource;
  return look;
}

bool SyncWindowless(TNativeControl& native) {
  const TControlLook look = LookOf(*native.Control);
  if (look == native.Shown && !native.Fresh) return false;
  // Labels may draw past a size they measured themselves: a little room around.
  auto invalidate = [&native](const TControlLook& area) {
    if (!area.Visible) return;
    RECT rect{area.Left - 2, area.Top - 2, area.Left + area.Width + 4, area.Top + area.Height + 2};
    InvalidateRect(native.Container, &rect, FALSE);
  };
  invalidate(native.Shown);
  invalidate(look);
  native.Shown = look;
  return true;
}

}  // namespace

HWND CreateNativeControl(const TControl& control, HWND parent, int id) {
  HWND handle = nullptr;
  const DWORD tabStop = control.TabStop ? WS_TABSTOP : 0;
  switch (control.Kind) {
    case TControlKind::Panel:
      handle = CreateChild(WS_EX_CONTROLPARENT, PanelClassName, WS_CLIPCHILDREN, parent, id);
      break;
    case TControlKind::Button:
      handle = CreateChild(0, "BUTTON", BS_PUSHBUTTON | tabStop, parent, id);
      if (!control.TabStop) SetWindowSubclass(handle, NoFocusButtonProc, 0, 0);
      break;
    case TControlKind::CheckBox:
      handle = CreateChild(0, "BUTTON", BS_CHECKBOX | tabStop, parent, id);
      break;
    case TControlKind::Edit:
      handle = CreateChild(WS_EX_CLIENTEDGE, "EDIT", ES_AUTOHSCROLL | tabStop, parent, id);
      break;
    case TControlKind::UpDown:
      // The model steps the position and writes the edit; the control only
      // reports the arrows (and the arrow keys in its buddy).
      handle = CreateChild(0, UPDOWN_CLASSA, UDS_ARROWKEYS | UDS_NOTHOUSANDS, parent, id);
      break;
    case TControlKind::ComboBox:
      handle = CreateChild(0, WC_COMBOBOXA, CBS_DROPDOWNLIST | WS_VSCROLL | tabStop, parent, id);
      break;
    case TControlKind::TabSet:
      handle = CreateChild(0, WC_TABCONTROLA, TCS_BOTTOM | TCS_FOCUSNEVER | TCS_OWNERDRAWFIXED, parent, id);
      // Visual styles draw every tab strip with its tabs on top.
      SetWindowTheme(handle, L"", L"");
      SetWindowSubclass(handle, TabStripProc, 0, reinterpret_cast<DWORD_PTR>(&control));
      break;
    case TControlKind::Form:
    case TControlKind::Label:
    case TControlKind::Image:
      break;
  }
  return handle;
}

bool SyncNativeControl(TNativeControl& native, TGdiFonts& fonts) {
  const TControl& control = *native.Control;
  if (!native.Handle) {
    const bool changed = SyncWindowless(native);
    native.Fresh = false;
    return changed;
  }
  const HWND handle = native.Handle;
  if (native.Fresh || native.Shown.Left != control.Left || native.Shown.Top != control.Top || native.Shown.Width != control.Width ||
      native.Shown.Height != control.Height) {
    int32_t height = control.Height;
    if (control.Kind == TControlKind::ComboBox) {
      SendMessageA(handle, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), control.Height - ComboFrame);
      height += DropDownLines * control.Height;
    }
    SetWindowPos(handle, nullptr, control.Left, control.Top, control.Width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    native.Shown.Left = control.Left;
    native.Shown.Top = control.Top;
    native.Shown.Width = control.Width;
    native.Shown.Height = control.Height;
  }
  const TControlFont& font = control.EffectiveFont();
  if (native.Fresh || !(native.Shown.Font == font)) {
    SendMessageA(handle, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Font(font)), TRUE);
    native.Shown.Font = font;
  }
  const TColor color = control.EffectiveColor();
  if (native.Shown.Color != color && !native.Fresh) RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  native.Shown.Color = color;
  if ((control.Kind == TControlKind::Button || control.Kind == TControlKind::CheckBox) &&
      (native.Fresh || native.Shown.Caption != control.Caption)) {
    SetWindowTextA(handle, control.Caption.c_str());
    native.Shown.Caption = control.Caption;
  }
  if (native.Fresh || native.Shown.Enabled != control.Enabled) {
    EnableWindow(handle, control.Enabled);
    native.Shown.Enabled = control.Enabled;
  }
  switch (control.Kind) {
    case TControlKind::Edit:
      SyncEditText(native, static_cast<const TEdit&>(control));
      break;
    case TControlKind::UpDown:
      SyncUpDown(native, static_cast<const TUpDown&>(control));
      break;
    case TControlKind::CheckBox: {
      const bool checked = static_cast<const TCheckBox&>(control).Checked;
      if (native.Fresh || native.Checked != checked) SendMessageA(handle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
      native.Checked = checked;
      break;
    }
    case TControlKind::ComboBox:
      SyncComboBox(native, static_cast<const TComboBox&>(control));
      break;
    case TControlKind::TabSet:
      SyncTabs(native, static_cast<const TTabSet&>(control));
      break;
    default:
      break;
  }
  if (native.Fresh || native.Shown.Visible != control.Visible) {
    ShowWindow(handle, control.Visible ? SW_SHOWNA : SW_HIDE);
    native.Shown.Visible = control.Visible;
  }
  native.Fresh = false;
  return false;
}

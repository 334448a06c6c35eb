#include "platform/windows/main_window_view.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/windows/open_file_dialog.h"
#include "ramp/displays_port.h"
#include "ramp/messages_port.h"

namespace {

constexpr int FirstControlId = 1000;
constexpr UINT ComposeMessage = WM_APP + 1;

std::string WindowText(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

uint32_t ShiftState() {
  uint32_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

void RegisterClass(const char* name, WNDPROC procedure) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name;
  RegisterClassExA(&windowClass);
}

}  // namespace

TMainWindowView::TMainWindowView() {
  RegisterClass(MainWindowClassName, WindowProc);
  RegisterClass(PanelClassName, WindowProc);
}

TMainWindowView::~TMainWindowView() {
  if (window_) DestroyWindow(window_);
  for (const auto& [color, brush] : brushes_) DeleteObject(brush);
}

void TMainWindowView::Attach(TMainForm& form) {
  form_ = &form;
  window_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, MainWindowClassName, "",
                            WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr),
                            nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  std::unordered_map<const TControl*, HWND> handles{{&form.Window, window_}};
  int id = FirstControlId;
  // Created in the model's order, which is the Tab key's order.
  for (TControl* control : ControlTree(form.Window)) {
    TNativeControl native;
    native.Control = control;
    if (control == &form.Window) {
      native.Handle = window_;
    } else {
      native.Container = handles.at(control->Parent);
      native.Handle = CreateNativeControl(*control, native.Container, id++);
      if (control->Kind == TControlKind::Panel)
        SetWindowLongPtrA(native.Handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    handles[control] = native.Handle;
    if (native.Handle) byHandle_[native.Handle] = natives_.size();
    natives_.push_back(std::move(native));
  }
  // Stacked as the model stacks them, each raised to the top in turn.
  for (TControl* parent : ControlTree(form.Window))
    for (TControl* child : StackingOrder(*parent))
      if (handles.at(child))
        SetWindowPos(handles.at(child), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (TControl* control : ControlTree(form.Window))
    if (control->Kind == TControlKind::UpDown)
      SendMessageA(handles.at(control), UDM_SETBUDDY,
                   reinterpret_cast<WPARAM>(handles.at(&static_cast<TUpDown*>(control)->Associate)), 0);
}

TNativeControl* TMainWindowView::Native(HWND handle) {
  const auto found = byHandle_.find(handle);
  return found == byHandle_.end() ? nullptr : &natives_[found->second];
}

void TMainWindowView::AfterInput() {
  // A window moved to another display takes that display's DPI.
  form_->FollowDisplayDpi();
  Sync();
}

void TMainWindowView::Sync() {
  if (!form_) return;
  syncing_ = true;
  for (size_t i = 1; i < natives_.size(); ++i)
    if (SyncNativeControl(natives_[i], fonts_) && natives_[i].Container == window_) ComposeLater();
  SyncWindow();
  syncing_ = false;
}

void TMainWindowView::SyncWindow() {
  const TControl& window = form_->Window;
  TNativeControl& native = natives_.front();
  if (native.Fresh || native.Shown.Caption != window.Caption) SetWindowTextA(window_, window.Caption.c_str());
  native.Shown.Caption = window.Caption;
  const bool moved = native.Fresh || native.Shown.Left != window.Left || native.Shown.Top != window.Top ||
                     native.Shown.Width != window.Width || native.Shown.Height != window.Height;
  // The window's own "checked" is whether it stays on top.
  const bool restacked = native.Fresh || native.Checked != form_->StayOnTop;
  if (moved || restacked) {
    SetWindowPos(window_, form_->StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, window.Left, window.Top, window.Width,
                 window.Height, SWP_NOACTIVATE | (restacked ? 0 : SWP_NOZORDER));
    native.Shown.Left = window.Left;
    native.Shown.Top = window.Top;
    native.Shown.Width = window.Width;
    native.Shown.Height = window.Height;
    native.Checked = form_->StayOnTop;
  }
  native.Fresh = false;
  if (window.Visible != (IsWindowVisible(window_) != FALSE)) ShowWindow(window_, window.Visible ? SW_SHOW : SW_HIDE);
  if (bringToFront_ && window.Visible) {
    bringToFront_ = false;
    SetWindowPos(window_, form_->StayOnTop ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window_);
  }
  if (minimize_) {
    minimize_ = false;
    ShowWindow(window_, SW_MINIMIZE);
  }
  // Keys must reach the window even when the control that had the focus was
  // hidden with its page.
  const HWND focus = GetFocus();
  if (GetActiveWindow() == window_ && !IsIconic(window_) &&
      (!focus || !IsWindowVisible(focus) || !IsWindowEnabled(focus)))
    SetFocus(window_);
}

bool TMainWindowView::PreviewMessage(MSG& message) {
  if (!window_ || closed_) return false;
  const bool ours = message.hwnd == window_ || IsChild(window_, message.hwnd);
  if (!ours || (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)) return false;
  const uint32_t shift = ShiftState();
  form_->FormKeyDown(static_cast<uint16_t>(message.wParam), shift);
  AfterInput();
  // Tab alone moves the focus in the model's order; Ctrl+Tab reaches the
  // focused control as it came.
  if (message.wParam != VK_TAB || (shift & (ssCtrl | ssAlt)) || closed_) return false;
  MoveFocus(!(shift & ssShift));
  return true;
}

void TMainWindowView::MoveFocus(bool forward) {
  const std::vector<TControl*> order = FocusOrder(form_->Window);
  if (order.empty()) return;
  TNativeControl* focused = Native(GetFocus());
  const auto current = std::find(order.begin(), order.end(), focused ? focused->Control : nullptr);
  size_t next = forward ? 0 : order.size() - 1;
  if (current != order.end()) {
    const size_t index = static_cast<size_t>(current - order.begin());
    next = forward ? (index + 1) % order.size() : (index + order.size() - 1) % order.size();
  }
  for (const TNativeControl& native : natives_)
    if (native.Control == order[next]) SetFocus(native.Handle);
}

void TMainWindowView::Repaint() {
  patternDirty_ = true;
  ComposeLater();
}

void TMainWindowView::ComposeLater() {
  composeNeeded_ = true;
  // Once per round of the message loop, however often it is asked for.
  if (window_ && !composePosted_) composePosted_ = PostMessageA(window_, ComposeMessage, 0, 0);
}

void TMainWindowView::ShowMessage(const std::string& text) {
  MessagesPort().ShowMessage(ApplicationTitleText, text);
}

void TMainWindowView::WindowClosed() {
  closed_ = true;
  ShowWindow(window_, SW_HIDE);
  PostQuitMessage(0);
}

TTextExtent TMainWindowView::TextExtent(const TControlFont& font, const std::string& text) {
  return fonts_.TextExtent(font, text);
}

TTextExtent TMainWindowView::WrappedTextExtent(const TControlFont& font, const std::string& text, int32_t width) {
  return fonts_.WrappedTextExtent(font, text, width);
}

bool TMainWindowView::Execute(const TOpenDialogOptions& options, std::string& fileName) {
  return ExecuteOpenFileDialog(window_, options, fileName);
}

LRESULT CALLBACK TMainWindowView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* view = reinterpret_cast<TMainWindowView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  return view && view->form_ ? view->Message(window, message, wParam, lParam)
                             : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT TMainWindowView::Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TNativeControl* self = Native(window);
  switch (message) {
    case WM_COMMAND:
      if (TNativeControl* native = Native(reinterpret_cast<HWND>(lParam)); native && !syncing_) {
        Input(*native, HIWORD(wParam));
        AfterInput();
      }
      return 0;
    case WM_NOTIFY:
      return Notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (LRESULT brush = ControlColors(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
        return brush;
      break;
    case WM_DRAWITEM:
      DrawTab(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_ERASEBKGND:
      return 1;  // every pixel is painted once, from a buffer
    case ComposeMessage:
      composePosted_ = false;
      Compose();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      if (window == window_) {
        if (composeNeeded_) Compose();
        const RECT& area = paint.rcPaint;
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, frame_.Dc(), area.left,
               area.top, SRCCOPY);
      } else if (self) {
        PaintPanel(window, *self->Control, dc);
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SETCURSOR:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      if (MouseOnLabel(window, message, lParam)) return TRUE;
      break;
    case WM_CLOSE:
      form_->Close();
      AfterInput();
      return 0;
    case WM_ENDSESSION:
      if (wParam) form_->Close();  // the ramps go back before the session ends
      return 0;
    case WM_DPICHANGED:
      // The system's suggested rectangle is not taken: the window keeps covering its display.
      form_->DpiChanged(wParam);
      AfterInput();
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The user's input, turned into the model's own calls.
void TMainWindowView::Input(TNativeControl& native, UINT code) {
  TControl& control = *native.Control;
  if (control.Kind == TControlKind::Button && code == BN_CLICKED) static_cast<TButton&>(control).Click();
  if (control.Kind == TControlKind::CheckBox && code == BN_CLICKED) static_cast<TCheckBox&>(control).Click();
  if (control.Kind == TControlKind::Edit && code == EN_CHANGE)
    static_cast<TEdit&>(control).SetText(WindowText(native.Handle));
  if (control.Kind == TControlKind::ComboBox && code == CBN_SELCHANGE)
    static_cast<TComboBox&>(control).Select(static_cast<int32_t>(SendMessageA(native.Handle, CB_GETCURSEL, 0, 0)));
}

LRESULT TMainWindowView::Notify(const NMHDR& header) {
  TNativeControl* native = Native(header.hwndFrom);
  if (!native || syncing_) return 0;
  TControl& control = *native->Control;
  if (control.Kind == TControlKind::UpDown && header.code == UDN_DELTAPOS) {
    static_cast<TUpDown&>(control).Step(reinterpret_cast<const NMUPDOWN&>(header).iDelta > 0);
    AfterInput();
    return TRUE;  // the model has moved the position already
  }
  if (control.Kind == TControlKind::TabSet && header.code == TCN_SELCHANGE) {
    static_cast<TTabSet&>(control).SetTabIndex(TabCtrl_GetCurSel(native->Handle));
    AfterInput();
  }
  return 0;
}

// Windowless labels that take clicks or have a cursor of their own.
bool TMainWindowView::MouseOnLabel(HWND window, UINT message, LPARAM lParam) {
  TNativeControl* container = Native(window);
  if (!container) return false;
  POINT point{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  if (message == WM_SETCURSOR) {
    if (LOWORD(lParam) != HTCLIENT) return false;
    GetCursorPos(&point);
    ScreenToClient(window, &point);
  }
  TLabel* label = MouseLabelAt(*container->Control, point.x, point.y);
  switch (message) {
    case WM_SETCURSOR:
      if (!label || label->Cursor != TCursor::HandPoint) return false;
      SetCursor(LoadCursorA(nullptr, IDC_HAND));
      return true;
    case WM_LBUTTONDOWN:
      pressedLabel_ = label;
      return label != nullptr;
    default:
      if (!label || label != pressedLabel_) return false;
      pressedLabel_ = nullptr;
      label->Click();
      AfterInput();
      return true;
  }
}

#include "platform/windows/background_window.h"

#include <algorithm>

#include "paint/background_form.h"
#include "paint/raster_canvas.h"
#include "platform/windows/frame_buffer.h"

namespace {
// Painted in bands of rows, so a desktop of several large displays never needs
// a picture of its whole size.
constexpr int32_t BandRows = 128;
// Posted to itself: the foreground is handed back once the activation is over.
constexpr UINT HandBackMessage = WM_APP + 1;
}  // namespace

TBackgroundWindow::TBackgroundWindow(int32_t displayCount, std::vector<TRect> monitors, std::function<void()> activated)
    : monitors_(std::move(monitors)), activated_(std::move(activated)) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = BackgroundClassName;
  RegisterClassExA(&windowClass);
  const TBackgroundPlacement placement = BackgroundPlacement(displayCount, monitors_);
  desktop_ = placement.Bounds;
  // Not top-most, so that the top-most calibration window stays above it.
  window_ = CreateWindowExA(WS_EX_TOOLWINDOW, BackgroundClassName, "", WS_POPUP, desktop_.Left, desktop_.Top,
                            desktop_.Right - desktop_.Left, desktop_.Bottom - desktop_.Top, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  if (placement.Visible) ShowWindow(window_, SW_SHOWNA);
}

TBackgroundWindow::~TBackgroundWindow() { DestroyWindow(window_); }

LRESULT CALLBACK TBackgroundWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TBackgroundWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self) switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        self->Paint(dc, paint.rcPaint);
        EndPaint(window, &paint);
        return 0;
      }
      case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) PostMessageA(window, HandBackMessage, 0, 0);
        break;
      case HandBackMessage:
        if (self->activated_) self->activated_();
        return 0;
    }
  return DefWindowProcA(window, message, wParam, lParam);
}

void TBackgroundWindow::Paint(HDC dc, const RECT& area) {
  const int32_t width = area.right - area.left;
  if (width <= 0) return;
  TFrameBuffer band;
  for (int32_t top = area.top; top < area.bottom; top += BandRows) {
    const int32_t rows = std::min(BandRows, static_cast<int32_t>(area.bottom) - top);
    TRasterCanvas canvas(width, rows);
    // The desktop moved by the band's corner puts the band at the canvas's origin.
    const TRect shifted{desktop_.Left + area.left, desktop_.Top + top, desktop_.Right + area.left,
                        desktop_.Bottom + top};
    PaintBackground(canvas, shifted, monitors_);
    if (!band.Resize(width, rows)) return;
    band.CopyFrom(canvas);
    band.Present(dc, area.left, top);
  }
}

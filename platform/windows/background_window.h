// The window over the whole virtual desktop behind the calibration window:
// the page's colour on every display (and the Color Balance gradients), no
// controls, and the foreground handed back to the calibration window
// whenever it is activated.
#pragma once

#include "platform/windows/win32.h"

#include <functional>
#include <vector>

#include "ramp/records.h"
#include "ui/main_view.h"

inline const char* const BackgroundClassName = "TonemarkBackground";

class TBackgroundWindow : public TBackgroundView {
 public:
  // `monitors` in desktop coordinates, in the platform's order; shown only
  // with more than one display. `activated` brings the calibration window
  // back to the front.
  TBackgroundWindow(int32_t displayCount, std::vector<TRect> monitors, std::function<void()> activated);
  ~TBackgroundWindow() override;
  TBackgroundWindow(const TBackgroundWindow&) = delete;
  TBackgroundWindow& operator=(const TBackgroundWindow&) = delete;

  void Repaint() override { InvalidateRect(window_, nullptr, FALSE); }
  void Hide() override { ShowWindow(window_, SW_HIDE); }
  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc, const RECT& area);

  std::vector<TRect> monitors_;
  TRect desktop_;
  std::function<void()> activated_;
  HWND window_ = nullptr;
};

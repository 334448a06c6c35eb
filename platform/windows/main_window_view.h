// The calibration window on Windows: a borderless top-most window over the
// edited display that mirrors TMainForm's control model one to one with
// common controls, paints the page's pattern double-buffered, and turns the
// user's input into the model's own calls. It decides nothing itself.
#pragma once

#include "platform/windows/win32.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "paint/raster_canvas.h"
#include "platform/windows/frame_buffer.h"
#include "platform/windows/gdi_fonts.h"
#include "platform/windows/native_controls.h"
#include "platform/windows/windowless_paint.h"
#include "ui/main_form.h"
#include "ui/main_view.h"

inline const char* const MainWindowClassName = "TonemarkWindow";

class TMainWindowView : public TMainView, public TFileDialog {
 public:
  TMainWindowView();
  ~TMainWindowView() override;
  TMainWindowView(const TMainWindowView&) = delete;
  TMainWindowView& operator=(const TMainWindowView&) = delete;

  // Creates a hidden native widget for every control of `form`, which
  // outlives the view's windows.
  void Attach(TMainForm& form);
  // Makes every widget, and the window itself, match the control model.
  void Sync();
  HWND Handle() const { return window_; }
  bool Closed() const { return closed_; }
  // The message loop hands every message here first: the window sees each
  // key before the focused control (key preview), and Tab moves the focus.
  // True when the message was dealt with and goes no further.
  bool PreviewMessage(MSG& message);

  void Repaint() override;
  void BringToFront() override { bringToFront_ = true; }
  void MinimizeApplication() override { minimize_ = true; }
  void ShowMessage(const std::string& text) override;
  void WindowClosed() override;
  TTextExtent TextExtent(const TControlFont& font, const std::string& text) override;
  TTextExtent WrappedTextExtent(const TControlFont& font, const std::string& text, int32_t width) override;
  bool Execute(const TOpenDialogOptions& options, std::string& fileName) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  TNativeControl* Native(HWND handle);
  void Input(TNativeControl& native, UINT code);
  LRESULT Notify(const NMHDR& header);
  bool MouseOnLabel(HWND window, UINT message, LPARAM lParam);
  // Every input ends here: the model's own follow-ups, then the widgets.
  void AfterInput();
  void SyncWindow();
  void MoveFocus(bool forward);
  // Composes the frame: the pattern, painted again when the model asked for
  // it, then the labels over it; the window gets back only what changed.
  void Compose();
  void ComposeLater();
  void PaintPanel(HWND window, const TControl& panel, HDC dc);
  void DrawTab(const DRAWITEMSTRUCT& item);
  LRESULT ControlColors(UINT message, HDC dc, HWND control);
  HBRUSH Brush(COLORREF color);

  TGdiFonts fonts_;
  TPictures pictures_;
  TMainForm* form_ = nullptr;
  HWND window_ = nullptr;
  std::vector<TNativeControl> natives_;  // in the model's tree order, the window's own first
  std::unordered_map<HWND, size_t> byHandle_;
  bool syncing_ = false;
  bool patternDirty_ = true;
  bool composeNeeded_ = true, composePosted_ = false;
  bool bringToFront_ = false, minimize_ = false, closed_ = false;
  TLabel* pressedLabel_ = nullptr;
  std::unique_ptr<TRasterCanvas> pattern_;  // the page's pattern, painted again only when it changes
  TFrameBuffer frame_, panelFrame_;
  std::map<COLORREF, HBRUSH> brushes_;
};

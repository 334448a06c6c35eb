// The ports of the calibration window: what a native window does for the
// window's logic. The logic keeps every rule; a view only shows the controls'
// state (ControlTree of TMainForm::Window after each call into the logic)
// and passes the user's input to the controls' calls (Click, Select, Step,
// SetText, SetTabIndex) and to the form's FormKeyDown and DpiChanged. Where
// the system does not report the DPI of the window's display (simulated
// displays), the view calls the form's FollowDisplayDpi after FormCreate and
// after each input.
#pragma once

#include <string>

#include "ui/controls.h"

class TMainView : public TTextMeasure {
 public:
  // The client area is to be painted again (FormPaint).
  virtual void Repaint() = 0;
  // Top of the Z-order, activated, at the window's present place.
  virtual void BringToFront() = 0;
  virtual void MinimizeApplication() = 0;
  // A message box that does not end the program.
  virtual void ShowMessage(const std::string& text) = 0;
  // The window has closed; the message loop ends.
  virtual void WindowClosed() = 0;
};

// The full-desktop window behind the calibration window, once it exists.
class TBackgroundView {
 public:
  virtual ~TBackgroundView() = default;
  virtual void Repaint() = 0;
  virtual void Hide() = 0;
};

struct TOpenDialogOptions {
  std::string Title;
  std::string Filter;  // description "|" pattern
  std::string DefaultExt;
  std::string InitialDir;
  std::string FileName;
  bool FileMustExist = true;
  bool MultiSelect = false;
  int MaxFileNameLength = 0;
};

// The system's open-file dialog, owned by the calibration window.
class TFileDialog {
 public:
  virtual ~TFileDialog() = default;
  // True with the chosen file in `fileName`; false when the user cancels.
  virtual bool Execute(const TOpenDialogOptions& options, std::string& fileName) = 0;
};

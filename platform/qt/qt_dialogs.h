// Qt's message box and open-file dialog, over the calibration window.
#pragma once

#include <string>

#include "ramp/messages_port.h"
#include "ui/main_view.h"

class QWidget;

// The window program's messages: a message box with an OK button, once an X
// display can be reached; before that, or without one, standard error.
class TQtMessageBoxes : public TMessagesPort {
 public:
  void ShowMessage(const std::string& caption, const std::string& text) override;

  // The window that the boxes belong to: the calibration window while it
  // exists (it sets itself), else none.
  static inline QWidget* Owner = nullptr;
};

// The open-file dialog; false when the user cancels.
bool ShowOpenFileDialog(QWidget* owner, const TOpenDialogOptions& options, std::string& fileName);

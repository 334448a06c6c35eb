// Qt's message box and open-file dialog, over the calibration window.
#pragma once

#include <string>

#include "ui/main_view.h"

class QWidget;

// A message box with an OK button above `owner` (null: above everything).
// While simulated displays are driven, messages go to standard error instead
// and never block.
void ShowMessageBox(QWidget* owner, const std::string& caption, const std::string& text);

// The open-file dialog; false when the user cancels.
bool ShowOpenFileDialog(QWidget* owner, const TOpenDialogOptions& options, std::string& fileName);

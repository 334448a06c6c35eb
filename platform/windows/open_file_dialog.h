// The system's open-file dialog, owned by a window.
#pragma once

#include "platform/windows/win32.h"

#include <string>

#include "ui/main_view.h"

// True with the chosen file in `fileName`; false when the user cancels.
bool ExecuteOpenFileDialog(HWND owner, const TOpenDialogOptions& options, std::string& fileName);

#include "platform/windows/message_boxes.h"

#include <windows.h>

void TMessageBoxes::ShowMessage(const std::string& caption, const std::string& text) {
  // Above the top-most calibration window, which waits for the box meanwhile.
  MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_TOPMOST | MB_TASKMODAL);
}

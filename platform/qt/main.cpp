// tonemark-window: tonemark with its Qt window linked in. tonemark starts it
// for normal mode, so that load mode, which runs at every log-on and resume,
// never loads the toolkit.
#include <memory>

#include "platform/linux/picture_files.h"
#include "platform/linux/program_start.h"
#include "platform/linux/randr_displays.h"
#include "platform/qt/native_session.h"
#include "platform/qt/qt_dialogs.h"
#include "shell/program_entry.h"

namespace {

// Errors of normal mode go to a message box once an X display is there.
class TRandrDisplaysWithMessageBoxes : public TRandrDisplays {
 public:
  void ShowMessage(const std::string& caption, const std::string& text) override {
    if (Connected()) ShowMessageBox(nullptr, caption, text);
    else TRandrDisplays::ShowMessage(caption, text);
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<TDisplaysPort> displays = ChosenDisplays<TRandrDisplaysWithMessageBoxes>();
  SetDisplaysPort(*displays);
  TJpegDecoder decoder;
  return ProgramEntry(StartLinuxProgram(argc, argv), [&] { RunQtSession(&decoder); });
}

#include "tests/platform/windows_window/model_window.h"

#include <filesystem>

#include "ramp/display_discovery.h"
#include "ramp/no_displays.h"
#include "ramp/records.h"
#include "shell/command_line.h"

TModelWindow::TModelWindow(const std::string& displaysIni) {
  WriteBytes(folder_.File("displays.ini"), displaysIni);
  // Portable in the temporary folder: no curve files, no language files.
  CommandLineArgs = {folder_.File("Tonemark.exe")};
  displays_ = std::make_unique<TSimDisplays>(folder_.Path(), false);
  SetDisplaysPort(*displays_);
  EnumerateDisplays();
  form_ = std::make_unique<TMainForm>(*this, *this, nullptr, DisplaysPort().MonitorDpi(Displays[0].Monitor));
  form_->FormCreate();
}

TModelWindow::~TModelWindow() {
  form_.reset();
  ReleaseDisplays();
  static TNoDisplays none;
  SetDisplaysPort(none);
}

std::vector<TRect> TModelWindow::Covered(int32_t page) {
  form_->TabSet.SetTabIndex(page);
  std::vector<TRect> rects;
  for (const TControl* control : form_->Window.Children)
    if (control->Showing())
      rects.push_back({control->Left, control->Top, control->Left + control->Width, control->Top + control->Height});
  return rects;
}

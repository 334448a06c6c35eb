// The calibration window's control model, built in the test's own process on
// simulated displays like the program's, with the same fonts: where it puts
// the controls, panels and text of each page, which is where a screenshot
// of the real window may differ from the pattern renderer's picture.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sim/sim_displays.h"
#include "platform/windows/gdi_fonts.h"
#include "tests/temp_folder.h"
#include "ui/main_form.h"

class TModelWindow : public TMainView, public TFileDialog {
 public:
  explicit TModelWindow(const std::string& displaysIni);
  ~TModelWindow() override;

  // The rectangles (window coordinates) of every control shown directly on
  // the window on `page`: the bar, the panels, the help text, the file label.
  std::vector<TRect> Covered(int32_t page);
  TMainForm& Form() { return *form_; }

  void Repaint() override {}
  void BringToFront() override {}
  void MinimizeApplication() override {}
  void ShowMessage(const std::string&) override {}
  void WindowClosed() override {}
  TTextExtent TextExtent(const TControlFont& font, const std::string& text) override {
    return fonts_.TextExtent(font, text);
  }
  TTextExtent WrappedTextExtent(const TControlFont& font, const std::string& text, int32_t width) override {
    return fonts_.WrappedTextExtent(font, text, width);
  }
  bool Execute(const TOpenDialogOptions&, std::string&) override { return false; }

 private:
  TempFolder folder_;
  std::unique_ptr<TSimDisplays> displays_;
  TGdiFonts fonts_;
  std::unique_ptr<TMainForm> form_;
};

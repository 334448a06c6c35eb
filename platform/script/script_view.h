// A view without a screen: it runs one editing session from a script of user
// actions, one per line, and prints what the window shows when asked. Normal
// mode runs through it instead of the native window when TONEMARK_SCRIPT is
// set, and end-to-end checks drive whole sessions with it.
//
//   click NAME           a push button, the check box or the file label
//   up NAME, down NAME   an arrow of an up-down control
//   type NAME TEXT       text typed into an edit (the rest of the line)
//   select NAME INDEX    an item picked from a drop-down list
//   tab INDEX            a click on a page tab
//   key ctrl+tab, key ctrl+shift+tab, key tab
//   dpi N                the system reports a new DPI for the window
//   choose PATH          the file that the next open-file dialog returns
//   choose-cancel        the next open-file dialog is cancelled
//   show NAME            one line: the control's state
//   state                one line: page, display, point, ramp state
//   close                the system's close command
//
// Blank lines and lines starting with "#" are skipped. The session ends when
// the window closes; at the end of the script it is closed as by the system.
#pragma once

#include <deque>
#include <iosfwd>
#include <optional>
#include <string>

#include "paint/image_decoder.h"
#include "ui/main_form.h"
#include "ui/main_view.h"

class TScriptView : public TMainView, public TFileDialog {
 public:
  explicit TScriptView(std::ostream& out) : out_(out) {}

  void Repaint() override { ++Repaints; }
  void BringToFront() override {}
  void MinimizeApplication() override { Minimized = true; }
  void ShowMessage(const std::string& text) override;
  void WindowClosed() override { Closed = true; }
  TTextExtent TextExtent(const TControlFont& font, const std::string& text) override;
  bool Execute(const TOpenDialogOptions& options, std::string& fileName) override;

  // Carries out one script line on the window; false for a line it cannot
  // understand, which is reported on the output.
  bool RunLine(TMainForm& form, const std::string& line);

  int Repaints = 0;
  bool Minimized = false;
  bool Closed = false;

 private:
  std::ostream& out_;
  std::deque<std::optional<std::string>> dialogAnswers_;
};

// True when TONEMARK_SCRIPT is set (to anything): normal mode then runs the
// scripted session on standard input and output.
bool ScriptedSessionRequested();

// Creates the window at the first display's DPI, runs the session from
// `script` and returns when the window has closed.
void RunScriptedSession(std::istream& script, std::ostream& out, TImageDecoder* decoder);

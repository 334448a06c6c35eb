// The real Qt calibration window on the test's private Xvfb (no window
// manager), with real input through XTest and what the screen really shows.
// The displays are simulated ones in a temporary folder, or Xvfb's own RandR
// CRTC; the program's folder and the XDG folders are temporary too.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "platform/qt/main_window.h"
#include "platform/sim/sim_displays.h"
#include "ramp/displays_port.h"
#include "ramp/no_displays.h"
#include "tests/platform/linux_shell/xdg_environment.h"
#include "tests/temp_folder.h"
#include "tools/render/png_file.h"

struct _XDisplay;

class QtWindowTest : public ::testing::Test {
 protected:
  QtWindowTest();
  ~QtWindowTest() override;

  // Simulated monitors, one "Rect=..." line (and more keys) each, then the
  // window over the first.
  void StartOnSimulatedDisplays(const std::vector<std::string>& monitors);
  // The window over the X server's own RandR outputs, its displays reached
  // through `displayName` (null: $DISPLAY).
  void StartOnRandr(const char* displayName = nullptr);

  TMainForm& Form() { return window->Form(); }
  // Lets the window handle what has happened until `done` holds (at most a
  // few seconds); true when it does.
  bool Until(const std::function<bool()>& done);
  // Lets the window draw what is due and waits until the X server has it.
  void ShowNow();

  // Real input: a click at a screen point, or on a control at a height within
  // it (0 top, 1 bottom); a key with modifiers.
  void ClickAt(int32_t x, int32_t y);
  void Click(const TControl& control, double heightFraction = 0.5);
  void PressKey(unsigned long keysym, std::vector<unsigned long> modifiers = {});
  // A click on the tab of the strip, until the window shows that page.
  void ClickTab(int32_t tab);
  // What the screen shows under the window's client area.
  TPixelImage WindowPixels();

  std::string SimFile(const std::string& name) const { return (sim.Path() / name).string(); }

  XdgEnvironment environment;
  TempFolder sim;
  TempFolder program;
  std::unique_ptr<TDisplaysPort> displays;
  TNoDisplays noDisplays;
  std::unique_ptr<TQtMainWindow> window;
  _XDisplay* x = nullptr;

  // The parts of StartOnSimulatedDisplays, for a test that brings displays of
  // its own over the same folder.
  void DescribeSimulatedDisplays(const std::vector<std::string>& monitors);
  void StartWindow();
};

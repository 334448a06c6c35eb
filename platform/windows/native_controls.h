// The control model's controls as Win32 common controls (version 6): one
// native widget per control, created by kind and made to match its control
// by Sync. Labels and images get no window: the panel or the form under
// them paints them (windowless_paint.h), transparent where the model says so.
#pragma once

#include "platform/windows/win32.h"

#include <string>
#include <vector>

#include "platform/windows/gdi_fonts.h"
#include "ui/controls.h"

// What a control shows, as its widget was last given it or, for a windowless
// control, as its container last painted it.
struct TControlLook {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  std::string Caption;
  TControlFont Font;
  TColor Color = 0;
  bool Visible = false;
  bool Enabled = true;
  std::string Picture;  // images only
  bool operator==(const TControlLook&) const = default;
};

// A control and its native widget, with what the widget was last given, so
// that Sync calls the system only for what changed.
struct TNativeControl {
  TControl* Control = nullptr;
  HWND Handle = nullptr;  // null for the windowless kinds
  HWND Container = nullptr;  // the native parent, which paints the windowless
  bool Fresh = true;  // nothing given to the widget yet
  TControlLook Shown;
  std::string Text;
  int32_t Min = 0, Max = 0, Position = 0;
  bool Checked = false;
  std::vector<std::string> Items;
  int32_t ItemIndex = -1;
};

// The window class of the panels, registered by the view with its own
// procedure: panels paint their windowless controls and pass their
// children's notifications on.
inline const char* const PanelClassName = "TonemarkPanel";

// Creates the widget of `control`, hidden, as a child of `parent` with `id`
// for its notifications; null for labels and images.
HWND CreateNativeControl(const TControl& control, HWND parent, int id);

// Makes the widget match the control: geometry, caption, font, colours,
// enabled, value and, last, visibility. For a windowless control, true when
// what it shows changed, and its container is to paint it again.
bool SyncNativeControl(TNativeControl& native, TGdiFonts& fonts);

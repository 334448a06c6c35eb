// The calibration window's controls as plain objects: geometry, caption,
// font, colours, visibility and value. A native view mirrors them one to one
// and feeds the user's input back through the same calls. Setters that a
// program uses raise events exactly as the standard controls do, because the
// window's logic relies on it:
// - an up-down position change rewrites its edit's text, which raises the
//   edit's change event; an equal position raises nothing;
// - setting a check box's state raises its click when the state changes;
// - setting a drop-down list's index raises nothing;
// - selecting a tab raises the strip's change event before the change.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "paint/canvas.h"

// Colours are the painters' 0x00BBGGRR values; one with the top bit set
// names a system colour that the view looks up.
constexpr TColor SystemColorFlag = 0x80000000;
constexpr TColor clWindow = SystemColorFlag | 5;      // an edit's background
constexpr TColor clWindowText = SystemColorFlag | 8;  // an edit's text
constexpr TColor clBtnFace = SystemColorFlag | 15;
constexpr TColor clBtnText = SystemColorFlag | 18;

struct TControlFont {
  std::string Name = "Tahoma";
  int32_t Height = -11;  // negative: the character height in pixels
  bool Bold = false;
  bool Underline = false;
  TColor Color = clWindowText;
  bool operator==(const TControlFont&) const = default;
};

struct TTextExtent {
  int32_t Width = 0;
  int32_t Height = 0;
};

// Measures text for labels that size themselves; the native view supplies it.
class TTextMeasure {
 public:
  virtual ~TTextMeasure() = default;
  virtual TTextExtent TextExtent(const TControlFont& font, const std::string& text) = 0;
  // The extent of `text` broken at its spaces into lines no wider than
  // `width` (a longer word keeps a line to itself), as a label that wraps its
  // words shows it. A native view answers with its toolkit's own wrapping,
  // which is what its labels draw.
  virtual TTextExtent WrappedTextExtent(const TControlFont& font, const std::string& text, int32_t width);
};

enum class TControlKind { Form, Panel, Label, Button, Edit, UpDown, CheckBox, ComboBox, TabSet, Image };
enum class TCursor { Default, HandPoint };

class TControl {
 public:
  TControl(TControlKind kind, std::string name, TControl* parent);
  virtual ~TControl() = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  const TControlKind Kind;
  const std::string Name;
  TControl* const Parent;
  std::vector<TControl*> Children;  // in creation order, which is also the focus order

  // Relative to the parent's client area.
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  std::string Caption;
  TControlFont Font;
  bool ParentFont = true;  // the parent's font is used while set
  TColor Color = clBtnFace;
  bool ParentColor = false;  // the parent's colour is used while set
  bool Transparent = false;
  bool Visible = true;
  bool Enabled = true;
  bool TabStop = false;
  TCursor Cursor = TCursor::Default;
  // Lies above its siblings, whatever the order they were made in.
  bool AboveSiblings = false;

  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  const TControlFont& EffectiveFont() const;
  TColor EffectiveColor() const;
  // Stops following the parent's font, starting from the font shown now.
  void OwnFont();
  // Visible, and every parent too.
  bool Showing() const;
  int32_t WindowLeft() const;
  int32_t WindowTop() const;
};

class TPanel : public TControl {
 public:
  TPanel(std::string name, TControl* parent) : TControl(TControlKind::Panel, std::move(name), parent) {}
};

class TLabel : public TControl {
 public:
  TLabel(std::string name, TControl* parent, TTextMeasure* measure)
      : TControl(TControlKind::Label, std::move(name), parent), measure_(measure) {}

  bool AutoSize = true;
  bool WordWrap = false;

  void SetCaption(const std::string& caption);
  // Fits width and height to the caption in the current font.
  void AdjustSize();
  // Keeps the width and takes the height that the caption needs with its
  // words wrapped there.
  void AdjustHeight();

  std::function<void()> OnClick;
  void Click();

 private:
  TTextMeasure* measure_;
};

class TButton : public TControl {
 public:
  TButton(std::string name, TControl* parent) : TControl(TControlKind::Button, std::move(name), parent) {}
  std::function<void()> OnClick;
  void Click();
};

class TUpDown;

class TEdit : public TControl {
 public:
  TEdit(std::string name, TControl* parent);
  std::string Text = "0";
  TUpDown* Buddy = nullptr;  // the up-down whose position this edit shows
  std::function<void()> OnChange;
  // Text from the program or typed by the user; raises the change event when
  // the text differs.
  void SetText(const std::string& text);
};

class TUpDown : public TControl {
 public:
  TUpDown(std::string name, TControl* parent, TEdit& associate);
  int16_t Min = 0;
  int16_t Max = 100;
  int16_t Position = 0;
  TEdit& Associate;
  // Takes the low 16 bits of `value` as a signed position and keeps it within
  // Min..Max, as the standard control does; a changed position is written to
  // the edit as a decimal integer.
  void SetPosition(int32_t value);
  // One arrow click (or arrow key in the edit): one step, no wrap-around.
  void Step(bool up);
  // The edit's text taken as the position: a decimal integer, kept within
  // range; anything else leaves the position as it was.
  void TakeEditText();
};

class TCheckBox : public TControl {
 public:
  TCheckBox(std::string name, TControl* parent) : TControl(TControlKind::CheckBox, std::move(name), parent) {
    TabStop = true;
  }
  bool Checked = false;
  std::function<void()> OnClick;
  void SetChecked(bool checked);
  // The user's click toggles the state.
  void Click();
};

class TComboBox : public TControl {
 public:
  TComboBox(std::string name, TControl* parent) : TControl(TControlKind::ComboBox, std::move(name), parent) {
    TabStop = true;
  }
  std::vector<std::string> Items;
  int32_t ItemIndex = -1;
  std::function<void()> OnChange;
  // From the program: no event. An index outside the items selects nothing.
  void SetItemIndex(int32_t index);
  void Clear();
  // The selected item's text, empty when nothing is selected.
  std::string Text() const;
  // The user picked an item from the list.
  void Select(int32_t index);
};

class TTabSet : public TControl {
 public:
  TTabSet(std::string name, TControl* parent) : TControl(TControlKind::TabSet, std::move(name), parent) {}
  std::vector<std::string> Tabs;
  int32_t TabIndex = 0;
  // Raised before a change, with the new index; clearing `allowChange` keeps
  // the tab shown.
  std::function<void(int32_t newTab, bool& allowChange)> OnChange;
  void SetTabIndex(int32_t index);
  // Next (or previous) tab, wrapping round at either end.
  void SelectNext(bool forward);
};

class TImage : public TControl {
 public:
  TImage(std::string name, TControl* parent) : TControl(TControlKind::Image, std::move(name), parent) {}
  bool Stretch = false;
  bool Proportional = false;  // stretched with the picture's aspect ratio kept
  std::string PictureResource;  // the embedded picture shown, by resource name
};

// Every control under `root`, root first, in creation order.
std::vector<TControl*> ControlTree(TControl& root);
// The controls that the Tab key visits, in order: focusable, shown, enabled.
std::vector<TControl*> FocusOrder(TControl& root);
// The children of `parent` from the bottom of the stack to the top: later
// ones above earlier ones, those that keep above their siblings last.
std::vector<TControl*> StackingOrder(const TControl& parent);

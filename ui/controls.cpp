#include "ui/controls.h"

#include <algorithm>
#include <charconv>

TControl::TControl(TControlKind kind, std::string name, TControl* parent)
    : Kind(kind), Name(std::move(name)), Parent(parent) {
  if (Parent) Parent->Children.push_back(this);
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  Left = left;
  Top = top;
  Width = width;
  Height = height;
}

const TControlFont& TControl::EffectiveFont() const {
  return ParentFont && Parent ? Parent->EffectiveFont() : Font;
}

TColor TControl::EffectiveColor() const {
  return ParentColor && Parent ? Parent->EffectiveColor() : Color;
}

void TControl::OwnFont() {
  if (!ParentFont) return;
  Font = EffectiveFont();
  ParentFont = false;
}

bool TControl::Showing() const { return Visible && (!Parent || Parent->Showing()); }

int32_t TControl::WindowLeft() const {
  // The form's own position is on the desktop, not in its client area.
  return Parent ? Parent->WindowLeft() + Left : 0;
}

int32_t TControl::WindowTop() const { return Parent ? Parent->WindowTop() + Top : 0; }

void TLabel::SetCaption(const std::string& caption) {
  Caption = caption;
  AdjustSize();
}

void TLabel::AdjustSize() {
  if (!AutoSize || !measure_) return;
  const TTextExtent extent = measure_->TextExtent(EffectiveFont(), Caption);
  Width = extent.Width;
  Height = extent.Height;
}

void TLabel::AdjustHeight() {
  if (measure_) Height = measure_->WrappedTextExtent(EffectiveFont(), Caption, Width).Height;
}

void TLabel::Click() {
  if (Enabled && OnClick) OnClick();
}

void TButton::Click() {
  if (Enabled && OnClick) OnClick();
}

TTextExtent TTextMeasure::WrappedTextExtent(const TControlFont& font, const std::string& text, int32_t width) {
  TTextExtent wrapped;
  std::string line;
  const auto endLine = [&] {
    const TTextExtent extent = TextExtent(font, line);
    wrapped.Width = std::max(wrapped.Width, extent.Width);
    wrapped.Height += extent.Height;
  };
  for (size_t start = 0; start <= text.size();) {
    const size_t end = std::min(text.find(' ', start), text.size());
    const std::string word = text.substr(start, end - start);
    const std::string longer = line.empty() ? word : line + ' ' + word;
    if (!line.empty() && TextExtent(font, longer).Width > width) {
      endLine();
      line = word;
    } else {
      line = longer;
    }
    start = end + 1;
  }
  endLine();
  return wrapped;
}

TEdit::TEdit(std::string name, TControl* parent) : TControl(TControlKind::Edit, std::move(name), parent) {
  TabStop = true;
  Color = clWindow;
  Font.Color = clWindowText;
}

void TEdit::SetText(const std::string& text) {
  if (text == Text) return;
  Text = text;
  // The up-down reads its position from the edit, so handlers of the change
  // event already see the new position.
  if (Buddy) Buddy->TakeEditText();
  if (OnChange) OnChange();
}

TUpDown::TUpDown(std::string name, TControl* parent, TEdit& associate)
    : TControl(TControlKind::UpDown, std::move(name), parent), Associate(associate) {
  Associate.Buddy = this;
  Associate.Text = std::to_string(Position);
}

void TUpDown::SetPosition(int32_t value) {
  const int16_t position = std::clamp(static_cast<int16_t>(value & 0xFFFF), Min, Max);
  if (position == Position) return;
  Position = position;
  Associate.SetText(std::to_string(Position));
}

void TUpDown::Step(bool up) { SetPosition(std::clamp(Position + (up ? 1 : -1), int32_t{Min}, int32_t{Max})); }

void TUpDown::TakeEditText() {
  const std::string& text = Associate.Text;
  const char* first = text.data();
  const char* last = first + text.size();
  while (first != last && *first == ' ') ++first;
  while (last != first && last[-1] == ' ') --last;
  if (first != last && *first == '+') ++first;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc{} || end != last) return;
  Position = static_cast<int16_t>(std::clamp<int64_t>(value, Min, Max));
}

void TCheckBox::SetChecked(bool checked) {
  if (checked == Checked) return;
  Checked = checked;
  if (OnClick) OnClick();
}

void TCheckBox::Click() {
  if (Enabled) SetChecked(!Checked);
}

void TComboBox::SetItemIndex(int32_t index) {
  ItemIndex = index >= 0 && index < static_cast<int32_t>(Items.size()) ? index : -1;
}

void TComboBox::Clear() {
  Items.clear();
  ItemIndex = -1;
}

std::string TComboBox::Text() const { return ItemIndex >= 0 ? Items[ItemIndex] : std::string(); }

void TComboBox::Select(int32_t index) {
  if (!Enabled) return;
  SetItemIndex(index);
  if (OnChange) OnChange();
}

void TTabSet::SetTabIndex(int32_t index) {
  if (index == TabIndex || index < 0 || index >= static_cast<int32_t>(Tabs.size())) return;
  bool allowChange = true;
  if (OnChange) OnChange(index, allowChange);
  if (allowChange) TabIndex = index;
}

void TTabSet::SelectNext(bool forward) {
  const int32_t count = static_cast<int32_t>(Tabs.size());
  if (count == 0) return;
  SetTabIndex((TabIndex + (forward ? 1 : count - 1)) % count);
}

std::vector<TControl*> ControlTree(TControl& root) {
  std::vector<TControl*> controls{&root};
  for (size_t i = 0; i < controls.size(); ++i) {
    // Depth first keeps a panel's controls right after the panel.
    const auto& children = controls[i]->Children;
    controls.insert(controls.begin() + static_cast<std::ptrdiff_t>(i) + 1, children.begin(), children.end());
  }
  return controls;
}

std::vector<TControl*> StackingOrder(const TControl& parent) {
  std::vector<TControl*> order = parent.Children;
  std::stable_partition(order.begin(), order.end(), [](const TControl* child) { return !child->AboveSiblings; });
  return order;
}

std::vector<TControl*> FocusOrder(TControl& root) {
  std::vector<TControl*> order;
  for (TControl* control : ControlTree(root))
    if (control->TabStop && control->Enabled && control->Showing()) order.push_back(control);
  return order;
}

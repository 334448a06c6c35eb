#include "platform/script/script_view.h"

#include <cstdlib>
#include <iostream>
#include <sstream>

#include "paint/page_state.h"
#include "ramp/displays_port.h"
#include "ramp/messages_port.h"
#include "ramp/records.h"

namespace {

constexpr const char* ScriptVariable = "TONEMARK_SCRIPT";

// Tahoma's average character is about 6 pixels wide at 11 pixels high.
constexpr int32_t AverageCharWidth = 6;
constexpr int32_t ReferenceFontHeight = 11;
constexpr int32_t LineLeading = 2;

TControl* FindControl(TMainForm& form, const std::string& name) {
  for (TControl* control : ControlTree(form.Window))
    if (control->Name == name) return control;
  return nullptr;
}

template <typename T>
T* FindAs(TMainForm& form, const std::string& name, TControlKind kind) {
  TControl* control = FindControl(form, name);
  return control && control->Kind == kind ? static_cast<T*>(control) : nullptr;
}

std::string ControlLine(TControl& control) {
  std::ostringstream line;
  line << control.Name;
  switch (control.Kind) {
    case TControlKind::Edit:
      line << " text=\"" << static_cast<TEdit&>(control).Text << '"';
      break;
    case TControlKind::UpDown:
      line << " position=" << static_cast<TUpDown&>(control).Position;
      break;
    case TControlKind::CheckBox:
      line << " checked=" << static_cast<TCheckBox&>(control).Checked;
      break;
    case TControlKind::ComboBox: {
      const auto& combo = static_cast<TComboBox&>(control);
      line << " index=" << combo.ItemIndex << " text=\"" << combo.Text() << '"';
      break;
    }
    case TControlKind::TabSet: {
      const auto& tabs = static_cast<TTabSet&>(control);
      line << " index=" << tabs.TabIndex << " text=\"" << tabs.Tabs[tabs.TabIndex] << '"';
      break;
    }
    default:
      line << " caption=\"" << control.Caption << '"';
  }
  line << " visible=" << control.Showing() << " enabled=" << control.Enabled << " bounds=" << control.Left
       << ',' << control.Top << ',' << control.Width << ',' << control.Height;
  return line.str();
}

}  // namespace

void TScriptView::ShowMessage(const std::string& text) { MessagesPort().ShowMessage(ApplicationTitleText, text); }

TTextExtent TScriptView::TextExtent(const TControlFont& font, const std::string& text) {
  const int32_t height = std::abs(font.Height);
  return {static_cast<int32_t>(text.size()) * AverageCharWidth * height / ReferenceFontHeight,
          height + LineLeading};
}

bool TScriptView::Execute(const TOpenDialogOptions&, std::string& fileName) {
  if (dialogAnswers_.empty()) return false;
  const std::optional<std::string> answer = dialogAnswers_.front();
  dialogAnswers_.pop_front();
  if (!answer) return false;
  fileName = *answer;
  return true;
}

bool TScriptView::RunLine(TMainForm& form, const std::string& line) {
  std::istringstream words(line);
  std::string command, name;
  words >> command;
  if (command.empty() || command[0] == '#') return true;
  bool understood = true;
  if (command == "click") {
    words >> name;
    TControl* control = FindControl(form, name);
    if (!control) understood = false;
    else if (control->Kind == TControlKind::Button) static_cast<TButton*>(control)->Click();
    else if (control->Kind == TControlKind::CheckBox) static_cast<TCheckBox*>(control)->Click();
    else if (control->Kind == TControlKind::Label) static_cast<TLabel*>(control)->Click();
    else understood = false;
  } else if (command == "up" || command == "down") {
    words >> name;
    auto* upDown = FindAs<TUpDown>(form, name, TControlKind::UpDown);
    if (upDown && upDown->Enabled) upDown->Step(command == "up");
    understood = upDown != nullptr;
  } else if (command == "type") {
    words >> name;
    std::string text;
    std::getline(words >> std::ws, text);
    auto* edit = FindAs<TEdit>(form, name, TControlKind::Edit);
    if (edit && edit->Enabled) edit->SetText(text);
    understood = edit != nullptr;
  } else if (command == "select") {
    int32_t index = -1;
    words >> name >> index;
    auto* combo = FindAs<TComboBox>(form, name, TControlKind::ComboBox);
    if (combo) combo->Select(index);
    understood = combo != nullptr;
  } else if (command == "tab") {
    int32_t index = -1;
    understood = static_cast<bool>(words >> index);
    if (understood) form.TabSet.SetTabIndex(index);
  } else if (command == "key") {
    words >> name;
    uint32_t shift = 0;
    if (name == "ctrl+tab") shift = ssCtrl;
    else if (name == "ctrl+shift+tab") shift = ssCtrl | ssShift;
    else understood = name == "tab";
    if (understood) form.FormKeyDown(VkTab, shift);
  } else if (command == "dpi") {
    uint32_t dpi = 0;
    understood = static_cast<bool>(words >> dpi);
    if (understood) form.DpiChanged(dpi);
  } else if (command == "choose") {
    std::string path;
    std::getline(words >> std::ws, path);
    dialogAnswers_.push_back(path);
  } else if (command == "choose-cancel") {
    dialogAnswers_.push_back(std::nullopt);
  } else if (command == "show") {
    words >> name;
    TControl* control = FindControl(form, name);
    if (control) out_ << ControlLine(*control) << '\n';
    understood = control != nullptr;
  } else if (command == "state") {
    out_ << "page=" << CurrentPage << " display=" << CurrentDisplay << " point=" << CurrentPoint
         << " lut=" << (form.LutActive ? "on" : "off") << " window=" << form.Window.Left << ','
         << form.Window.Top << ',' << form.Window.Width << ',' << form.Window.Height
         << " dpi=" << form.PixelsPerInch << '\n';
  } else if (command == "close") {
    form.Close();
  } else {
    understood = false;
  }
  if (!understood) out_ << "not understood: " << line << '\n';
  form.FollowDisplayDpi();
  out_.flush();
  return understood;
}

bool ScriptedSessionRequested() { return std::getenv(ScriptVariable) != nullptr; }

void RunScriptedSession(std::istream& script, std::ostream& out, TImageDecoder* decoder) {
  TScriptView view(out);
  const int32_t systemDpi = DisplayCount > 0 ? DisplaysPort().MonitorDpi(Displays[0].Monitor) : DesignDpi;
  TMainForm form(view, view, decoder, systemDpi);
  form.FormCreate();
  form.FollowDisplayDpi();
  std::string line;
  while (!view.Closed && std::getline(script, line)) view.RunLine(form, line);
  if (!view.Closed) form.Close();
}

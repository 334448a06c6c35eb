// The adjustment loop: controls into the edited record, the record into the
// video card and the screen, and back into the controls. EventsEnabled keeps
// the two directions from feeding each other, since a position set from the
// program raises its edit's change event at once.
#include "lang/multilang.h"
#include "paint/page_state.h"
#include "ramp/displays_port.h"
#include "ramp/ramp_access.h"
#include "ramp/records.h"
#include "ui/main_form.h"

namespace {

// The record shown and edited; callers have checked that the display exists.
TRampCurve& EditedCurve() { return Curves[CurrentDisplay]; }

bool HasEditedCurve() { return CurrentDisplay >= 0 && CurrentDisplay < static_cast<int32_t>(Curves.size()); }

}  // namespace

void TMainForm::SyncControls() {
  if (!HasEditedCurve()) return;
  const bool eventsEnabled = EventsEnabled;
  EventsEnabled = false;
  TRampCurve& curve = EditedCurve();
  for (const TAdjustPanel& panel : AdjustPanels) {
    const TRowFields fields = panel.Fields(curve);
    for (size_t row = 0; row < fields.size(); ++row)
      if (fields[row]) panel.UpDowns[row]->SetPosition(*fields[row]);
  }
  PointCheckBox.SetChecked(curve.PointSet[CurrentPoint]);
  StandardComboBox.SetItemIndex(curve.Standard);
  EventsEnabled = eventsEnabled;
}

void TMainForm::ApplyCurve() {
  if (!HasEditedCurve()) return;
  OffButton.Caption = Translate("BOffLUT");
  LutActive = true;
  ShowRampLoaded(SetCurveRamp(CurrentDisplay));
  CurrentStandard = EditedCurve().Standard;
  if (PreviewInWindow) ShowPreview();
  View.Repaint();
}

// A display may refuse a ramp (Windows refuses ramps far from the identity):
// the pattern then shows the old ramp, and the user must not take that for
// the effect of the adjustment.
// A display that takes no ramp at all (a desktop without a ramp interface, a
// virtual monitor, an HDR display) says why in the back-end's words, and the
// window previews the calibration itself.
// Once shown, the notice's row stays for the display, empty while its ramps
// are taken again: the panels standing on it must not move under the pointer
// with every ramp refused and taken.
void TMainForm::ShowRampLoaded(bool loaded) {
  RampRefusal = loaded ? "" : DisplaysPort().RampRefusal(Displays[CurrentDisplay].DC);
  PreviewInWindow = !RampRefusal.empty();
  const std::string shownCaption = RampRefusedLabel.Caption;
  const bool rowShown = NoticePanel.Visible;
  RampRefusedLabel.Caption = RampRefusedCaption();
  RampRefusedLabel.Visible = !loaded;
  NoticePanel.Visible = rowShown || !loaded;
  if (NoticePanel.Visible && (!rowShown || RampRefusedLabel.Caption != shownCaption)) ArrangePage();
}

std::string TMainForm::RampRefusedCaption() const {
  if (RampRefusal.empty()) {
    // The system's rule that may have turned the ramp away, where it has one.
    const std::string cause =
        CurrentDisplay < DisplayCount ? DisplaysPort().RampRefusalCause(Displays[CurrentDisplay].DC) : "";
    return Translate("LRampRefused") + (cause.empty() ? "" : " " + cause);
  }
  std::string caption = Translate("LPreviewInWindow");
  const size_t at = caption.find("%r");
  if (at != std::string::npos) caption.replace(at, 2, RampRefusal);
  return caption;
}

// Every row of the panel into the edited record, whichever changed.
void TMainForm::StorePanel(TAdjustGroup group) {
  const TAdjustPanel& panel = AdjustPanel(group);
  const TRowFields fields = panel.Fields(EditedCurve());
  for (size_t row = 0; row < fields.size(); ++row)
    if (fields[row]) *fields[row] = panel.UpDowns[row]->Position;
}

void TMainForm::PanelChange(TAdjustGroup group) {
  if (!EventsEnabled || !HasEditedCurve()) return;
  StorePanel(group);
  ApplyCurve();
}

void TMainForm::GammaChange() { PanelChange(TAdjustGroup::Gamma); }
void TMainForm::BlackChange() { PanelChange(TAdjustGroup::Black); }
void TMainForm::WhiteChange() { PanelChange(TAdjustGroup::White); }
void TMainForm::BalanceChange() { PanelChange(TAdjustGroup::Balance); }

void TMainForm::PointEditChange() {
  if (!EventsEnabled || !HasEditedCurve()) return;
  EventsEnabled = false;
  // Editing a value makes the level a set point.
  EditedCurve().PointSet[CurrentPoint] = true;
  StorePanel(TAdjustGroup::Point);
  ApplyCurve();
  SyncControls();
  EventsEnabled = true;
}

void TMainForm::PointCheckBoxClick() {
  if (!EventsEnabled || !HasEditedCurve()) return;
  EventsEnabled = false;
  EditedCurve().PointSet[CurrentPoint] = PointCheckBox.Checked;
  // An unchecked level becomes an interpolated one: its values follow.
  ApplyCurve();
  SyncControls();
  EventsEnabled = true;
}

void TMainForm::PointPosEditChange() {
  if (!EventsEnabled) return;
  EventsEnabled = false;
  CurrentPoint = PointPosUpDown.Position;
  SyncControls();
  ApplyCurve();
  EventsEnabled = true;
}

void TMainForm::PointNextButtonClick() {
  if (!HasEditedCurve()) return;
  CurrentPoint = NextPoint(EditedCurve(), CurrentPoint);
  // A changed position runs PointPosEditChange right here.
  PointPosUpDown.SetPosition(CurrentPoint);
  SyncControls();
  ApplyCurve();
}

void TMainForm::PointPrevButtonClick() {
  if (!HasEditedCurve()) return;
  CurrentPoint = PrevPoint(EditedCurve(), CurrentPoint);
  PointPosUpDown.SetPosition(CurrentPoint);
  SyncControls();
  ApplyCurve();
}

void TMainForm::PointClearButtonClick() {
  if (!HasEditedCurve()) return;
  ClearPoints(EditedCurve());
  SyncControls();
  ApplyCurve();
}

void TMainForm::ResetButtonClick() {
  if (!HasEditedCurve()) return;
  ResetCurve(EditedCurve());
  SyncControls();
  ApplyCurve();
}

// The record follows through the edits' change events, one reload per
// position that really changes.
void TMainForm::ResetPanel(TAdjustGroup group) {
  for (TUpDown* upDown : AdjustPanel(group).UpDowns)
    if (upDown) upDown->SetPosition(0);
}

void TMainForm::GammaResetButtonClick() { ResetPanel(TAdjustGroup::Gamma); }
void TMainForm::BlackResetButtonClick() { ResetPanel(TAdjustGroup::Black); }
void TMainForm::WhiteResetButtonClick() { ResetPanel(TAdjustGroup::White); }
void TMainForm::BalanceResetButtonClick() { ResetPanel(TAdjustGroup::Balance); }
void TMainForm::PointResetButtonClick() { ResetPanel(TAdjustGroup::Point); }

// The adjustment loop: controls into the edited record, the record into the
// video card and the screen, and back into the controls. EventsEnabled keeps
// the two directions from feeding each other, since a position set from the
// program raises its edit's change event at once.
#include "lang/multilang.h"
#include "paint/page_state.h"
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
  const TRampCurve& curve = EditedCurve();
  GammaUpDown.SetPosition(curve.Gamma);
  GammaRUpDown.SetPosition(curve.GammaR);
  GammaGUpDown.SetPosition(curve.GammaG);
  GammaBUpDown.SetPosition(curve.GammaB);
  BlackUpDown.SetPosition(curve.Black);
  BlackRUpDown.SetPosition(curve.BlackR);
  BlackGUpDown.SetPosition(curve.BlackG);
  BlackBUpDown.SetPosition(curve.BlackB);
  WhiteUpDown.SetPosition(curve.White);
  WhiteRUpDown.SetPosition(curve.WhiteR);
  WhiteGUpDown.SetPosition(curve.WhiteG);
  WhiteBUpDown.SetPosition(curve.WhiteB);
  BalanceRUpDown.SetPosition(curve.BalanceR);
  BalanceGUpDown.SetPosition(curve.BalanceG);
  BalanceBUpDown.SetPosition(curve.BalanceB);
  PointCheckBox.SetChecked(curve.PointSet[CurrentPoint]);
  PointUpDown.SetPosition(curve.Point[CurrentPoint]);
  PointRUpDown.SetPosition(curve.PointR[CurrentPoint]);
  PointGUpDown.SetPosition(curve.PointG[CurrentPoint]);
  PointBUpDown.SetPosition(curve.PointB[CurrentPoint]);
  StandardComboBox.SetItemIndex(curve.Standard);
  EventsEnabled = eventsEnabled;
}

void TMainForm::ApplyCurve() {
  if (!HasEditedCurve()) return;
  OffButton.Caption = Translate("BOffLUT");
  LutActive = true;
  ShowRampLoaded(SetCurveRamp(CurrentDisplay));
  CurrentStandard = EditedCurve().Standard;
  View.Repaint();
}

// A display may refuse a ramp (Windows refuses ramps far from the identity):
// the pattern then shows the old ramp, and the user must not take that for
// the effect of the adjustment.
void TMainForm::ShowRampLoaded(bool loaded) { RampRefusedLabel.Visible = !loaded; }

void TMainForm::GammaChange() {
  if (!EventsEnabled || !HasEditedCurve()) return;
  TRampCurve& curve = EditedCurve();
  curve.Gamma = GammaUpDown.Position;
  curve.GammaR = GammaRUpDown.Position;
  curve.GammaG = GammaGUpDown.Position;
  curve.GammaB = GammaBUpDown.Position;
  ApplyCurve();
}

void TMainForm::BlackChange() {
  if (!EventsEnabled || !HasEditedCurve()) return;
  TRampCurve& curve = EditedCurve();
  curve.Black = BlackUpDown.Position;
  curve.BlackR = BlackRUpDown.Position;
  curve.BlackG = BlackGUpDown.Position;
  curve.BlackB = BlackBUpDown.Position;
  ApplyCurve();
}

void TMainForm::WhiteChange() {
  if (!EventsEnabled || !HasEditedCurve()) return;
  TRampCurve& curve = EditedCurve();
  curve.White = WhiteUpDown.Position;
  curve.WhiteR = WhiteRUpDown.Position;
  curve.WhiteG = WhiteGUpDown.Position;
  curve.WhiteB = WhiteBUpDown.Position;
  ApplyCurve();
}

void TMainForm::BalanceChange() {
  if (!EventsEnabled || !HasEditedCurve()) return;
  TRampCurve& curve = EditedCurve();
  curve.BalanceR = BalanceRUpDown.Position;
  curve.BalanceG = BalanceGUpDown.Position;
  curve.BalanceB = BalanceBUpDown.Position;
  ApplyCurve();
}

void TMainForm::PointEditChange() {
  if (!EventsEnabled || !HasEditedCurve()) return;
  EventsEnabled = false;
  TRampCurve& curve = EditedCurve();
  // Editing a value makes the level a set point.
  curve.PointSet[CurrentPoint] = true;
  curve.Point[CurrentPoint] = PointUpDown.Position;
  curve.PointR[CurrentPoint] = PointRUpDown.Position;
  curve.PointG[CurrentPoint] = PointGUpDown.Position;
  curve.PointB[CurrentPoint] = PointBUpDown.Position;
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
void TMainForm::ResetGroup(std::initializer_list<TUpDown*> upDowns) {
  for (TUpDown* upDown : upDowns) upDown->SetPosition(0);
}

void TMainForm::GammaResetButtonClick() { ResetGroup({&GammaUpDown, &GammaRUpDown, &GammaGUpDown, &GammaBUpDown}); }
void TMainForm::BlackResetButtonClick() { ResetGroup({&BlackUpDown, &BlackRUpDown, &BlackGUpDown, &BlackBUpDown}); }
void TMainForm::WhiteResetButtonClick() { ResetGroup({&WhiteUpDown, &WhiteRUpDown, &WhiteGUpDown, &WhiteBUpDown}); }
void TMainForm::BalanceResetButtonClick() { ResetGroup({&BalanceRUpDown, &BalanceGUpDown, &BalanceBUpDown}); }
void TMainForm::PointResetButtonClick() { ResetGroup({&PointUpDown, &PointRUpDown, &PointGUpDown, &PointBUpDown}); }

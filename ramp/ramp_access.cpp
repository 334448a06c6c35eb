#include "ramp/ramp_access.h"

#include <algorithm>

#include "ramp/build_ramp.h"
#include "ramp/displays_port.h"
#include "ramp/ramp_guardian.h"
#include "ramp/records.h"

namespace {

bool IsDisplay(int32_t index) { return index >= 0 && index < DisplayCount; }

bool OnTrial = false;

void EndTrial() {
  if (OnTrial) RampGuardian().Release();
  OnTrial = false;
}

}  // namespace

void SaveRamps() {
  SavedRamps.assign(DisplayCount, TGammaRamp{});
  for (int32_t i = 0; i < DisplayCount; ++i)
    if (!DisplaysPort().GetRamp(Displays[i].DC, SavedRamps[i])) LinearRamp(SavedRamps[i]);
  EndTrial();
  RampGuardian().Hold(SavedRampsText());
  OnTrial = true;
}

void RestoreRamps() {
  const int32_t count = std::min<int32_t>(DisplayCount, static_cast<int32_t>(SavedRamps.size()));
  for (int32_t i = 0; i < count; ++i) DisplaysPort().SetRamp(Displays[i].DC, SavedRamps[i]);
  EndTrial();
}

void KeepRamps() { EndTrial(); }

bool RampsOnTrial() { return OnTrial; }

bool SetCurveRamp(int32_t index) {
  if (!IsDisplay(index)) return false;
  BuildRamp(Curves[index], WorkRamp);
  return DisplaysPort().SetRamp(Displays[index].DC, WorkRamp);
}

bool SetLinearRamp(int32_t index) {
  if (!IsDisplay(index)) return false;
  TGammaRamp linear;
  LinearRamp(linear);
  return DisplaysPort().SetRamp(Displays[index].DC, linear);
}

bool ReadDisplayRamp(int32_t index) {
  if (!IsDisplay(index)) return false;
  CurrentDisplay = index;
  TGammaRamp present;
  if (!DisplaysPort().GetRamp(Displays[index].DC, present)) return false;
  WorkRamp = present;
  return true;
}

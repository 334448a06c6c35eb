#include "ramp/load_curves.h"

#include <cstdlib>
#include <exception>
#include <vector>

#include "ramp/build_ramp.h"
#include "ramp/curve_assignment.h"
#include "ramp/curve_file.h"
#include "ramp/displays_port.h"
#include "ramp/file_error.h"
#include "ramp/ramp_checks.h"
#include "ramp/ramp_resample.h"
#include "ramp/records.h"

namespace {

constexpr int StepLimit = 512;
constexpr int SnapHalfGap = 256;
constexpr int32_t PassPauseMs = 10;
constexpr int32_t UnreadableRampPauseMs = 50;
constexpr int MaxPasses = 65536;
// True when the present ramp still moved in this pass.
bool StepRamp(TGammaRamp& present, const TGammaRamp& target) {
  int changed = 0;
  // Level by level, red, green then blue at each level.
  for (int level = 0; level < LevelCount; ++level)
    for (int channel = 0; channel < 3; ++channel) {
      const int entry = channel * LevelCount + level;
      if (StepToward(present[entry], target[entry])) ++changed;
    }
  return changed > 0;
}

// A display's way from its present ramp to its target.
struct TTransition {
  TGammaRamp Target{};
  TGammaRamp Present{};
  bool Done = false;       // arrived, or left alone
  bool Loaded = false;     // takes part in the load
  bool LastAccepted = false;
};

// Reads the display's present ramp as the transition's start. A display
// that takes no ramp at all is left out and reported.
void StartTransition(int32_t index, TTransition& transition, TLoadReport& report) {
  TDisplaysPort& port = DisplaysPort();
  if (!port.GetRamp(Displays[index].DC, transition.Present)) {
    const std::string refusal = port.RampRefusal(Displays[index].DC);
    if (!refusal.empty()) {
      report.Refused.emplace_back(index, refusal);
      transition.Done = true;
      return;
    }
    LinearRamp(transition.Present);
    port.SetRamp(Displays[index].DC, transition.Present);
    port.Wait(UnreadableRampPauseMs);
  }
  const std::string doubt = port.RampDoubt(Displays[index].DC);
  if (!doubt.empty()) report.InDoubt.emplace_back(index, doubt);
  transition.Loaded = true;
}

void StepAll(std::vector<TTransition>& transitions) {
  TDisplaysPort& port = DisplaysPort();
  for (int pass = 1; pass <= MaxPasses; ++pass) {
    int moving = 0;
    for (int32_t i = 0; i < DisplayCount; ++i) {
      TTransition& transition = transitions[i];
      if (transition.Done) continue;
      if (StepRamp(transition.Present, transition.Target)) ++moving;
      else transition.Done = true;
      // Loaded in the pass that finishes the display as well, so its final
      // ramp reaches the video card.
      transition.LastAccepted = port.SetRamp(Displays[i].DC, transition.Present);
    }
    if (moving == 0 || pass == MaxPasses) break;
    port.Wait(PassPauseMs);
  }
}

// Some systems accept a ramp and do not show it, or reset it soon after: the
// card's own ramp is the judge. One that cannot be read is taken at the word
// of its last load.
void VerifyAll(const std::vector<TTransition>& transitions, TLoadReport& report) {
  TDisplaysPort& port = DisplaysPort();
  for (int32_t i = 0; i < DisplayCount; ++i) {
    const TTransition& transition = transitions[i];
    if (!transition.Loaded) continue;
    TGammaRamp held{};
    const bool read = port.GetRamp(Displays[i].DC, held);
    const bool kept = read
                          ? HeldAsLoaded(held, ReadBackOf(transition.Present, port.RampSize(Displays[i].DC)))
                          : transition.LastAccepted;
    if (read) report.ReadBack.emplace_back(i, held);
    if (!kept) report.NotKept.push_back(i);
  }
}

bool Load(std::vector<TTransition>& transitions, TLoadReport& report) {
  StepAll(transitions);
  VerifyAll(transitions, report);
  return report.NotKept.empty() && report.Refused.empty();
}

}  // namespace

bool StepToward(uint16_t& entry, uint16_t target) {
  if (entry == target) return false;
  const int gap = std::abs(int{target} - int{entry});
  const int half = gap / 2;
  if (half <= SnapHalfGap) {
    entry = target;
    return false;
  }
  const int step = std::min(half, StepLimit);
  entry = static_cast<uint16_t>(target > entry ? entry + step : entry - step);
  return true;
}

bool LoadCurves(const std::string& folder, TLoadReport& report) {
  std::vector<TTransition> transitions(DisplayCount);
  std::string errors;
  const TCurveAssignment assignment = AssignCurveFiles(folder);
  report.CurveFiles.assign(DisplayCount, "");
  for (int32_t i = 0; i < DisplayCount; ++i) {
    TTransition& transition = transitions[i];
    const std::string path = AssignedCurvePath(folder, assignment, i);
    std::string deviceName;
    try {
      if (!path.empty() && ReadCurveFile(Curves[i], deviceName, path)) {
        report.CurveFiles[i] = CurveFileName(assignment.Numbers[i]);
        BuildRamp(Curves[i], transition.Target);
        if (LeavesDisplayNearlyUniform(transition.Target)) report.NearlyUniform.push_back(i);
      } else {
        LinearRamp(transition.Target);
        if (!assignment.AbsentCurves.empty()) report.WithoutOwnCurve.push_back(i);
      }
    } catch (const std::exception& error) {
      // The display keeps what it shows rather than guessing at a ramp.
      if (!errors.empty()) errors += "\n";
      errors += CurveFileErrorText(path, error.what());
      report.Unreadable.emplace_back(i, CurveFileErrorText(path, error.what()));
      transition.Done = true;
      continue;
    }
    StartTransition(i, transition, report);
  }
  const bool kept = Load(transitions, report);
  if (!errors.empty()) throw TFileError(errors);
  return kept;
}

bool LoadCurves(const std::string& folder) {
  TLoadReport report;
  return LoadCurves(folder, report);
}

bool ReapplyCurve(const std::string& folder, int32_t index, TLoadReport& report) {
  std::vector<TTransition> transitions(DisplayCount);
  for (TTransition& transition : transitions) transition.Done = true;
  const TCurveAssignment assignment = AssignCurveFiles(folder);
  const std::string path = AssignedCurvePath(folder, assignment, index);
  report.CurveFiles.assign(DisplayCount, "");
  std::string deviceName;
  if (path.empty() || !ReadCurveFile(Curves[index], deviceName, path)) return false;
  report.CurveFiles[index] = CurveFileName(assignment.Numbers[index]);
  TTransition& transition = transitions[index];
  BuildRamp(Curves[index], transition.Target);
  transition.Done = false;
  StartTransition(index, transition, report);
  // The display already shows something else: one load, no steps.
  transition.Present = transition.Target;
  return Load(transitions, report);
}

bool LoadLinearRamps(TLoadReport& report) {
  std::vector<TTransition> transitions(DisplayCount);
  for (int32_t i = 0; i < DisplayCount; ++i) {
    LinearRamp(transitions[i].Target);
    StartTransition(i, transitions[i], report);
  }
  return Load(transitions, report);
}

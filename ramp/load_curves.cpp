#include "ramp/load_curves.h"

#include <cstdlib>
#include <exception>
#include <vector>

#include "ramp/build_ramp.h"
#include "ramp/curve_file.h"
#include "ramp/displays_port.h"
#include "ramp/file_error.h"
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

bool LoadCurves(const std::string& folder) {
  TDisplaysPort& port = DisplaysPort();
  std::vector<TGammaRamp> targetRamps(DisplayCount);
  std::vector<TGammaRamp> presentRamps(DisplayCount);
  std::vector<bool> doneFlags(DisplayCount, false);
  std::string errors;

  for (int32_t i = 0; i < DisplayCount; ++i) {
    const std::string path = CurveFilePath(folder, i);
    std::string deviceName;
    try {
      if (ReadCurveFile(Curves[i], deviceName, path)) BuildRamp(Curves[i], targetRamps[i]);
      else LinearRamp(targetRamps[i]);
    } catch (const std::exception& error) {
      // The display keeps what it shows rather than guessing at a ramp.
      if (!errors.empty()) errors += "\n";
      errors += CurveFileErrorText(path, error.what());
      doneFlags[i] = true;
      continue;
    }
    if (!port.GetRamp(Displays[i].DC, presentRamps[i])) {
      LinearRamp(presentRamps[i]);
      port.SetRamp(Displays[i].DC, presentRamps[i]);
      port.Wait(UnreadableRampPauseMs);
    }
  }

  for (int pass = 1; pass <= MaxPasses; ++pass) {
    int moving = 0;
    for (int32_t i = 0; i < DisplayCount; ++i) {
      if (doneFlags[i]) continue;
      if (StepRamp(presentRamps[i], targetRamps[i])) ++moving;
      else doneFlags[i] = true;
      // Loaded in the pass that finishes the display as well, so its final
      // ramp reaches the video card.
      port.SetRamp(Displays[i].DC, presentRamps[i]);
    }
    if (moving == 0 || pass == MaxPasses) break;
    port.Wait(PassPauseMs);
  }

  if (!errors.empty()) throw TFileError(errors);
  return true;
}

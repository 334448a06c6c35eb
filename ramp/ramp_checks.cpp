#include "ramp/ramp_checks.h"

namespace {

// Within 1/64 of full scale of black or white, a level is indistinguishable
// from them; 15 of every 16 levels there leave no readable picture.
constexpr int NearBand = 1024;
constexpr int MostLevels = LevelCount * 15 / 16;
constexpr int FullScale = 65535;

bool AllChannels(const TGammaRamp& ramp, int level, bool (*test)(int entry)) {
  for (int c = 0; c < 3; ++c)
    if (!test(ramp[c * LevelCount + level])) return false;
  return true;
}

}  // namespace

bool LeavesDisplayNearlyUniform(const TGammaRamp& ramp) {
  int black = 0, white = 0;
  for (int level = 0; level < LevelCount; ++level) {
    if (AllChannels(ramp, level, [](int entry) { return entry <= NearBand; })) ++black;
    if (AllChannels(ramp, level, [](int entry) { return entry >= FullScale - NearBand; })) ++white;
  }
  return black >= MostLevels || white >= MostLevels;
}

#include "ramp/records.h"

std::vector<TDisplay> Displays;
int32_t DisplayCount = 0;
std::vector<TRampCurve> Curves;
std::vector<TGammaRamp> SavedRamps;
TGammaRamp WorkRamp{};
int32_t CurrentDisplay = 0;
int32_t CurrentPoint = InitialPoint;

void ResetCurve(TRampCurve& curve) {
  const int32_t standard = curve.Standard;
  curve = TRampCurve{};
  curve.Standard = standard;
}

void ClearPoints(TRampCurve& curve) {
  curve.PointSet.fill(false);
  curve.Point.fill(0);
  curve.PointR.fill(0);
  curve.PointG.fill(0);
  curve.PointB.fill(0);
}

int32_t NextPoint(const TRampCurve& curve, int32_t level) {
  for (int step = 1; step <= LevelCount; ++step) {
    const int32_t candidate = (level + step) % LevelCount;
    if (curve.PointSet[candidate]) return candidate;
  }
  return level == LevelCount - 1 ? level : level + 1;
}

int32_t PrevPoint(const TRampCurve& curve, int32_t level) {
  for (int step = 1; step <= LevelCount; ++step) {
    const int32_t candidate = (level - step + LevelCount) % LevelCount;
    if (curve.PointSet[candidate]) return candidate;
  }
  return level == 0 ? 0 : level - 1;
}

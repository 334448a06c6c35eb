#include "ramp/build_ramp.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr int ColumnCount = 4;  // master, red, green, blue
constexpr int MaxKnots = LevelCount + 4;

struct KnotTable {
  int count = 0;
  int position[MaxKnots];
  double value[ColumnCount][MaxKnots];

  void Add(int level, const int32_t (&values)[ColumnCount]) {
    position[count] = level;
    for (int c = 0; c < ColumnCount; ++c) value[c][count] = values[c];
    ++count;
  }
};

// Values read from a file are unchecked, so the spline may leave the 32-bit
// range; saturate instead of letting the conversion overflow.
int32_t TruncateToInt32(double v) {
  if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
    return std::numeric_limits<int32_t>::max();
  if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);  // toward zero
}

double CatmullRom(double p0, double p1, double p2, double p3, double t) {
  return 0.5 * (2 * p1 + (p2 - p0) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t * t +
                (-p0 + 3 * p1 - 3 * p2 + p3) * t * t * t);
}

}  // namespace

void InterpolatePoints(TRampCurve& curve) {
  std::array<int32_t, LevelCount>* columns[ColumnCount] = {&curve.Point, &curve.PointR,
                                                           &curve.PointG, &curve.PointB};
  // Doubled end knots pin the correction to 0 at levels 0 and 255 and give the
  // first and last segments their outer neighbours.
  KnotTable knots;
  knots.Add(0, {0, 0, 0, 0});
  knots.Add(0, {0, 0, 0, 0});
  for (int level = 0; level < LevelCount; ++level)
    if (curve.PointSet[level])
      knots.Add(level, {curve.Point[level], curve.PointR[level], curve.PointG[level],
                        curve.PointB[level]});
  const int setCount = knots.count - 2;
  knots.Add(LevelCount - 1, {0, 0, 0, 0});
  knots.Add(LevelCount - 1, {0, 0, 0, 0});

  if (setCount == 0) {
    ClearPoints(curve);
    return;
  }

  for (int k = 1; k <= setCount + 1; ++k) {
    const int a = knots.position[k] < 0 ? 0 : knots.position[k];
    const int b = knots.position[k + 1] > LevelCount - 1 ? LevelCount - 1 : knots.position[k + 1];
    const int len = b - a;
    if (len == 0) continue;
    const bool linear = k == setCount;
    double t = 0.0;
    for (int level = a; level <= b; ++level, t += 1.0 / len) {
      if (curve.PointSet[level]) continue;
      for (int c = 0; c < ColumnCount; ++c) {
        const double* C = knots.value[c];
        const double v = linear ? C[k] + (C[k + 1] - C[k]) * t
                                : CatmullRom(C[k - 1], C[k], C[k + 1], C[k + 2], t);
        (*columns[c])[level] = TruncateToInt32(v);
      }
    }
  }
}

void BuildRamp(TRampCurve& curve, TGammaRamp& ramp) {
  const int32_t gamma[3] = {curve.GammaR, curve.GammaG, curve.GammaB};
  const int32_t white[3] = {curve.WhiteR, curve.WhiteG, curve.WhiteB};
  const int32_t black[3] = {curve.BlackR, curve.BlackG, curve.BlackB};
  const int32_t balance[3] = {curve.BalanceR, curve.BalanceG, curve.BalanceB};
  const std::array<int32_t, LevelCount>* points[3] = {&curve.PointR, &curve.PointG, &curve.PointB};

  double exponent[3], whiteGain[3], blackLift[3];
  for (int c = 0; c < 3; ++c) {
    double gain = (1 + curve.Gamma / 100.0) * (1 + gamma[c] / 100.0);
    if (!(gain > 0)) gain = 0.00001;
    exponent[c] = 1 / gain;
    whiteGain[c] = 1 + white[c] / 512.0 + curve.White / 256.0;
    blackLift[c] = black[c] / 1024.0 + curve.Black / 512.0;
  }

  InterpolatePoints(curve);

  for (int c = 0; c < 3; ++c) {
    for (int i = 0; i < LevelCount; ++i) {
      const double x = i / 255.0;
      const double power = i == 0 ? 0.0 : std::pow(x, exponent[c]);
      const double correction = (double(curve.Point[i]) + double((*points[c])[i])) / 1024;
      double v = 65535 * (power * whiteGain[c] + (255 - i) * blackLift[c] / 255 +
                          balance[c] / 2048.0 + correction);
      if (v > 65535) v = 65535;
      if (v < 0) v = 0;
      ramp[c * LevelCount + i] = static_cast<uint16_t>(std::nearbyint(v));  // ties to even
    }
  }
}

void LinearRamp(TGammaRamp& ramp) {
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < LevelCount; ++i) ramp[c * LevelCount + i] = static_cast<uint16_t>(i * 256);
}

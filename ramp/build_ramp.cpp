#include "ramp/build_ramp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr int ColumnCount = 4;  // master, red, green, blue
constexpr int MaxKnots = LevelCount + 4;

struct TKnotTable {
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

// For 0 <= v <= 65535: adding and taking away 2^52 rounds v in the default
// floating-point mode, to nearest with ties to even, inline rather than
// through a library call per entry. (Compilers keep the two steps unless
// told to reassociate floating-point sums, which this project never is.)
uint16_t RoundHalfToEven(double v) {
  constexpr double TwoPower52 = 4503599627370496.0;
  return static_cast<uint16_t>((v + TwoPower52) - TwoPower52);
}

double CatmullRom(double p0, double p1, double p2, double p3, double t) {
  return 0.5 * (2 * p1 + (p2 - p0) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t * t +
                (-p0 + 3 * p1 - 3 * p2 + p3) * t * t * t);
}

// i / 255 for every level, divided once at compile time rather than 768
// times per ramp.
constexpr std::array<double, LevelCount> LevelFraction = [] {
  std::array<double, LevelCount> fraction{};
  for (int i = 0; i < LevelCount; ++i) fraction[i] = i / 255.0;
  return fraction;
}();

// Fills one row per channel with compute(constant, level). Channels often share their
// constant (an exponent, a black lift); their rows are then the same bits and
// are copied rather than computed again.
template <class Compute>
void FillChannelRows(double (&rows)[3][LevelCount], const double (&constant)[3], Compute compute) {
  for (int c = 0; c < 3; ++c) {
    int same = 0;
    while (same < c && constant[same] != constant[c]) ++same;
    if (same < c) {
      std::copy(std::begin(rows[same]), std::end(rows[same]), rows[c]);
    } else {
      for (int i = 0; i < LevelCount; ++i) rows[c][i] = compute(constant[c], i);
    }
  }
}

}  // namespace

void InterpolatePoints(TRampCurve& curve) {
  std::array<int32_t, LevelCount>* columns[ColumnCount] = {&curve.Point, &curve.PointR,
                                                           &curve.PointG, &curve.PointB};
  // Doubled end knots pin the correction to 0 at levels 0 and 255 and give the
  // first and last segments their outer neighbours.
  TKnotTable knots;
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
    // t grows by 1/len per level, summed step by step as the curves have
    // always been computed, so it reaches about 1.0 at level b.
    double t[LevelCount];
    t[0] = 0.0;
    for (int step = 1; step <= len; ++step) t[step] = t[step - 1] + 1.0 / len;

    const bool linear = k == setCount;  // the segment ending at the highest point
    for (int c = 0; c < ColumnCount; ++c) {
      const double* C = knots.value[c];
      std::array<int32_t, LevelCount>& column = *columns[c];
      // Both formulas give exactly 0 over all-zero knots, the usual case for
      // the channel columns; skip the arithmetic then.
      const bool zero = C[k] == 0 && C[k + 1] == 0 && (linear || (C[k - 1] == 0 && C[k + 2] == 0));
      for (int level = a; level <= b; ++level) {
        if (curve.PointSet[level]) continue;
        if (zero) {
          column[level] = 0;
          continue;
        }
        const double v = linear ? C[k] + (C[k + 1] - C[k]) * t[level - a]
                                : CatmullRom(C[k - 1], C[k], C[k + 1], C[k + 2], t[level - a]);
        column[level] = TruncateToInt32(v);
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

  double power[3][LevelCount], lift[3][LevelCount];
  FillChannelRows(power, exponent,
                  [](double e, int i) { return i == 0 ? 0.0 : std::pow(LevelFraction[i], e); });
  FillChannelRows(lift, blackLift, [](double b, int i) { return (255 - i) * b / 255; });

  for (int c = 0; c < 3; ++c) {
    const double offset = balance[c] * (1.0 / 2048);  // exact: a power of two
    const std::array<int32_t, LevelCount>& channelPoints = *points[c];
    for (int i = 0; i < LevelCount; ++i) {
      const double correction = (double(curve.Point[i]) + double(channelPoints[i])) * (1.0 / 1024);
      double v = 65535 * (power[c][i] * whiteGain[c] + lift[c][i] + offset + correction);
      if (v > 65535) v = 65535;
      if (v < 0) v = 0;
      ramp[c * LevelCount + i] = RoundHalfToEven(v);
    }
  }
}

void LinearRamp(TGammaRamp& ramp) {
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < LevelCount; ++i) ramp[c * LevelCount + i] = static_cast<uint16_t>(i * 256);
}

#include "bench/observer/judge.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "bench/observer/colour_difference.h"
#include "paint/target_standard.h"

namespace {

// The black levels of the BT.1886 entries of the standard list, in nits
// against a 100-nit white, and their indices.
constexpr int FirstBt1886Standard = 2;
constexpr double Bt1886BlackNits[] = {0.50, 0.20, 0.15, 0.05, 0.01};

// Relative light 0..1 between black and white for signal v.
double TargetLight(TTarget target, double v, double blackNits) {
  switch (target) {
    case TTarget::Srgb:
      return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    case TTarget::Gamma22:
      return std::pow(v, 2.2);
    case TTarget::Bt1886: {
      // Bt1886Decode spans black..white as blackNits/100..1.
      const double black = blackNits / 100;
      return (double(Bt1886Decode(v, blackNits)) - black) / (1 - black);
    }
  }
  return 0;
}

double FittedGamma(const std::array<double, LevelCount>& y) {
  constexpr int From = 26, To = 230;
  double xy = 0, xx = 0;
  for (int v = From; v <= To; ++v) {
    const double relative = (y[v] - y[0]) / (y[255] - y[0]);
    if (relative <= 0) continue;
    const double x = std::log(v / 255.0);
    xy += x * std::log(relative);
    xx += x * x;
  }
  return xy / xx;
}

}  // namespace

bool ParseTarget(const std::string& text, TTarget& target) {
  if (text == "srgb") target = TTarget::Srgb;
  else if (text == "gamma2.2") target = TTarget::Gamma22;
  else if (text == "bt1886") target = TTarget::Bt1886;
  else return false;
  return true;
}

const char* TargetName(TTarget target) {
  return target == TTarget::Srgb ? "srgb" : target == TTarget::Gamma22 ? "gamma2.2" : "bt1886";
}

int StandardIndexFor(TTarget target, const TDisplayModel& model) {
  if (target == TTarget::Srgb) return 0;
  if (target == TTarget::Gamma22) return 1;
  const double nits = 100 * model.Black / model.White;
  int best = 0;
  for (int i = 1; i < 5; ++i)
    if (std::abs(std::log(Bt1886BlackNits[i] / nits)) < std::abs(std::log(Bt1886BlackNits[best] / nits))) best = i;
  return FirstBt1886Standard + best;
}

TJudgement Judge(const TDisplayModel& model, const TGammaRamp& ramp, TTarget target) {
  TJudgement result;
  std::array<TXyz, LevelCount> shown;
  for (int v = 0; v < LevelCount; ++v) {
    shown[v] = ShownLight(model, ramp, v, v, v);
    result.ShownY[v] = shown[v].Y;
  }
  const double black = shown[0].Y, white = shown[255].Y;
  const TXyz reference = D65At(white);
  std::vector<double> differences;
  for (int v = 0; v < LevelCount; ++v) {
    result.TargetY[v] = black + (white - black) * TargetLight(target, v / 255.0, 100 * black / white);
    result.Difference[v] = DeltaE00(ToLab(shown[v], reference), ToLab(D65At(result.TargetY[v]), reference));
    differences.push_back(result.Difference[v]);
  }
  double sum = 0;
  for (double d : differences) sum += d;
  result.Mean = sum / LevelCount;
  std::sort(differences.begin(), differences.end());
  result.P95 = differences[size_t(std::ceil(0.95 * LevelCount)) - 1];
  result.Max = differences.back();
  result.Gamma = FittedGamma(result.ShownY);
  result.TargetGamma = FittedGamma(result.TargetY);
  return result;
}

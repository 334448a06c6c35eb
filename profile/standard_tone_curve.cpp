#include "profile/standard_tone_curve.h"

#include <cmath>

#include "paint/target_standard.h"

namespace {

// lcms2's parametric curve types.
constexpr int PowerType = 1;           // Y = X^g
constexpr int OffsetPowerType = 2;     // Y = (aX + b)^g, 0 below -b/a
constexpr int LinearToeType = 4;       // Y = (aX + b)^g from d up, cX below

cmsToneCurve* Parametric(int type, const double* parameters) {
  return cmsBuildParametricToneCurve(nullptr, type, parameters);
}

}  // namespace

cmsToneCurve* StandardToneCurve(int32_t index) {
  const TTransfer& transfer = StandardTransfer(index);
  switch (transfer.Kind) {
    case TTransferCurve::Srgb: {
      const double p[] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
      return Parametric(LinearToeType, p);
    }
    case TTransferCurve::Bt709: {
      const double p[] = {1 / 0.45, 1 / 1.099, 0.099 / 1.099, 1 / 4.5, 0.081};
      return Parametric(LinearToeType, p);
    }
    case TTransferCurve::Bt1886: {
      // a (V + beta)^2.4 with a = (1 - root)^2.4 and beta = root / (1 - root),
      // root being the black's 2.4th root: ((1 - root) V + root)^2.4.
      const double root = std::pow(static_cast<double>(transfer.Parameter) / 100, 1 / 2.4);
      const double p[] = {2.4, 1 - root, root};
      return Parametric(OffsetPowerType, p);
    }
    case TTransferCurve::Power:
      break;
  }
  const double p[] = {static_cast<double>(transfer.Parameter)};
  return Parametric(PowerType, p);
}

#include "bench/observer/colour_difference.h"

#include <cmath>
#include <numbers>

namespace {

double LabF(double t) {
  constexpr double Epsilon = 216.0 / 24389.0, Kappa = 24389.0 / 27.0;
  return t > Epsilon ? std::cbrt(t) : (Kappa * t + 16) / 116;
}

double Degrees(double radians) { return radians * 180 / std::numbers::pi; }
double Radians(double degrees) { return degrees * std::numbers::pi / 180; }

}  // namespace

TXyz D65At(double y) { return {y * 0.3127 / 0.3290, y, y * (1 - 0.3127 - 0.3290) / 0.3290}; }

TLab ToLab(const TXyz& xyz, const TXyz& white) {
  const double fx = LabF(xyz.X / white.X), fy = LabF(xyz.Y / white.Y), fz = LabF(xyz.Z / white.Z);
  return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

double DeltaE00(const TLab& lab1, const TLab& lab2) {
  const double c1 = std::hypot(lab1.A, lab1.B), c2 = std::hypot(lab2.A, lab2.B);
  const double cMean7 = std::pow((c1 + c2) / 2, 7);
  const double g = 0.5 * (1 - std::sqrt(cMean7 / (cMean7 + std::pow(25.0, 7))));
  const double a1 = (1 + g) * lab1.A, a2 = (1 + g) * lab2.A;
  const double cp1 = std::hypot(a1, lab1.B), cp2 = std::hypot(a2, lab2.B);
  auto hue = [](double b, double a) {
    if (a == 0 && b == 0) return 0.0;
    const double h = Degrees(std::atan2(b, a));
    return h < 0 ? h + 360 : h;
  };
  const double h1 = hue(lab1.B, a1), h2 = hue(lab2.B, a2);
  const double dL = lab2.L - lab1.L, dC = cp2 - cp1;
  double dh = 0;
  if (cp1 * cp2 != 0) {
    dh = h2 - h1;
    if (dh > 180) dh -= 360;
    else if (dh < -180) dh += 360;
  }
  const double dH = 2 * std::sqrt(cp1 * cp2) * std::sin(Radians(dh / 2));
  const double lMean = (lab1.L + lab2.L) / 2, cpMean = (cp1 + cp2) / 2;
  double hMean = h1 + h2;
  if (cp1 * cp2 != 0) {
    if (std::abs(h1 - h2) <= 180) hMean = (h1 + h2) / 2;
    else hMean = h1 + h2 < 360 ? (h1 + h2 + 360) / 2 : (h1 + h2 - 360) / 2;
  }
  const double t = 1 - 0.17 * std::cos(Radians(hMean - 30)) + 0.24 * std::cos(Radians(2 * hMean)) +
                   0.32 * std::cos(Radians(3 * hMean + 6)) - 0.20 * std::cos(Radians(4 * hMean - 63));
  const double dTheta = 30 * std::exp(-std::pow((hMean - 275) / 25, 2));
  const double cpMean7 = std::pow(cpMean, 7);
  const double rc = 2 * std::sqrt(cpMean7 / (cpMean7 + std::pow(25.0, 7)));
  const double l50 = (lMean - 50) * (lMean - 50);
  const double sl = 1 + 0.015 * l50 / std::sqrt(20 + l50), sc = 1 + 0.045 * cpMean, sh = 1 + 0.015 * cpMean * t;
  const double rt = -std::sin(Radians(2 * dTheta)) * rc;
  const double l = dL / sl, c = dC / sc, h = dH / sh;
  return std::sqrt(l * l + c * c + h * h + rt * c * h);
}

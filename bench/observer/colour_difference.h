// CIELAB and the CIEDE2000 colour difference, the measure in which both the
// observer and the judge say how far apart two colours are.
#pragma once

#include "bench/observer/display_model.h"

struct TLab {
  double L = 0, A = 0, B = 0;
};

// The D65 white (x 0.3127, y 0.3290) scaled to luminance `y`.
TXyz D65At(double y);
// CIELAB of `xyz` against the reference white `white`.
TLab ToLab(const TXyz& xyz, const TXyz& white);
// CIEDE2000 with kL = kC = kH = 1.
double DeltaE00(const TLab& a, const TLab& b);

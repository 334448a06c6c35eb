// A calibration record turned into the video card's 3 x 256 ramp.
#pragma once

#include "ramp/records.h"

// Rewrites the four point arrays at every unset level from the set points:
// Catmull-Rom between knots, linear on the segment that ends at the highest
// set point, values truncated toward zero.
void InterpolatePoints(TRampCurve& curve);

// Interpolates the record's points, then computes every entry from gamma,
// white, black, balance and the point corrections, clipped to 0..65535.
void BuildRamp(TRampCurve& curve, TGammaRamp& ramp);

// The ramp of a switched-off calibration: entry = level x 256.
void LinearRamp(TGammaRamp& ramp);

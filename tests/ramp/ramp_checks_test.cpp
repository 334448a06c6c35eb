#include <gtest/gtest.h>

#include "ramp/build_ramp.h"
#include "ramp/ramp_checks.h"

namespace {

TGammaRamp RampOfCurve(void (*adjust)(TRampCurve&)) {
  TRampCurve curve;
  adjust(curve);
  TGammaRamp ramp{};
  BuildRamp(curve, ramp);
  return ramp;
}

TEST(LeavesDisplayNearlyUniform, FindsScreensBlackOrWhiteAtAlmostEveryLevel) {
  EXPECT_TRUE(LeavesDisplayNearlyUniform(RampOfCurve([](TRampCurve& c) { c.Gamma = -100; })));
  EXPECT_TRUE(LeavesDisplayNearlyUniform(RampOfCurve([](TRampCurve& c) { c.White = -256; })));
  EXPECT_TRUE(LeavesDisplayNearlyUniform(RampOfCurve([](TRampCurve& c) { c.BalanceG = 2048, c.BalanceR = 2048, c.BalanceB = 2048; })));
  // Dark, but half the levels still show: not for the warning.
  EXPECT_FALSE(LeavesDisplayNearlyUniform(RampOfCurve([](TRampCurve& c) { c.Gamma = -90; })));
  EXPECT_FALSE(LeavesDisplayNearlyUniform(RampOfCurve([](TRampCurve&) {})));
  // One channel black is a tint, not a blank screen.
  EXPECT_FALSE(LeavesDisplayNearlyUniform(RampOfCurve([](TRampCurve& c) { c.WhiteR = -512; })));
}

}  // namespace

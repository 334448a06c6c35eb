#include <gtest/gtest.h>

#include <sstream>

#include "bench/observer/colour_difference.h"
#include "bench/observer/judge.h"
#include "bench/observer/observer.h"
#include "bench/observer/observer_session.h"
#include "platform/script/script_view.h"
#include "ramp/display_discovery.h"

namespace {

TDisplayModel Parsed(const std::string& text) {
  TDisplayModel model;
  std::string error;
  EXPECT_TRUE(ParseDisplayModel(text, model, error)) << error;
  return model;
}

TGammaRamp IdentityRamp() {
  TGammaRamp ramp;
  for (int c = 0; c < 3; ++c)
    for (int v = 0; v < LevelCount; ++v) ramp[c * LevelCount + v] = uint16_t(v * 257);
  return ramp;
}

TEST(DisplayModel, ResponsesGiveTheHandComputedLight) {
  const TDisplayModel power = Parsed("gamma=2.2");
  EXPECT_NEAR(ChannelLight(power, 0, 0.5), 0.2176376, 1e-7);
  EXPECT_NEAR(ChannelLight(Parsed("response=srgb"), 1, 0.5), 0.2140411, 1e-7);
  EXPECT_NEAR(ChannelLight(Parsed("response=lcd,lcd-contrast=1.2"), 2, 0.25), 0.0326478, 1e-7);
  // Clipping and crushing stretch what is left of the drive over the curve.
  EXPECT_NEAR(ChannelLight(Parsed("clip-white=0.94"), 0, 0.47), 0.2176376, 1e-7);
  EXPECT_EQ(ChannelLight(Parsed("clip-white=0.94"), 0, 0.95), 1.0);
  EXPECT_NEAR(ChannelLight(Parsed("crush-black=0.03"), 0, 0.515), 0.2176376, 1e-7);
  EXPECT_EQ(ChannelLight(Parsed("crush-black=0.03"), 0, 0.02), 0.0);
  EXPECT_NEAR(ChannelLight(Parsed("red-gamma=2.5,red-gain=0.9"), 0, 0.5), 0.9 * 0.1767767, 1e-7);
}

TEST(DisplayModel, PanelTakesTheTopBitsOfTheRampEntry) {
  EXPECT_NEAR(PanelDrive(Parsed(""), 128 * 257), 128 / 255.0, 1e-12);
  EXPECT_NEAR(PanelDrive(Parsed(""), 0x80FF), 128 / 255.0, 1e-12);  // the low byte is lost
  EXPECT_NEAR(PanelDrive(Parsed("bits=10"), 128 * 257), 514 / 1023.0, 1e-12);
}

TEST(DisplayModel, GreysSpanBlackToWhiteInTheWhitePointsColour) {
  const TGammaRamp identity = IdentityRamp();
  const TDisplayModel model = Parsed("black=0.2,white=120");
  const TXyz black = ShownLight(model, identity, 0, 0, 0), white = ShownLight(model, identity, 255, 255, 255);
  EXPECT_NEAR(black.Y, 0.2, 1e-9);
  EXPECT_NEAR(white.Y, 120, 1e-9);
  EXPECT_NEAR(white.X, 114.0547, 1e-3);  // D65: x 0.3127, y 0.3290
  EXPECT_NEAR(white.Z, 130.6869, 1e-3);
  EXPECT_NEAR(ShownLight(model, identity, 128, 128, 128).Y, 0.2 + 119.8 * 0.2195197, 1e-4);
  // Blue carries 7.22 % of white's light with the sRGB primaries.
  EXPECT_NEAR(ShownLight(Parsed("blue-gain=0.93"), identity, 255, 255, 255).Y, 119.3946, 1e-3);
}

TEST(DisplayModel, RejectsUnknownKeysAndImpossibleValues) {
  TDisplayModel model;
  std::string error;
  EXPECT_FALSE(ParseDisplayModel("gama=2.2", model, error));
  EXPECT_EQ(error, "unknown display key \"gama\"");
  EXPECT_FALSE(ParseDisplayModel("bits=9", model, error));
  EXPECT_FALSE(ParseDisplayModel("gamma=two", model, error));
  EXPECT_FALSE(ParseDisplayModel("black=200,white=100", model, error));
  EXPECT_FALSE(ParseDisplayModel("response=crt", model, error));
}

TEST(ColourDifference, MatchesPublishedCiede2000Pairs) {
  EXPECT_NEAR(DeltaE00({50, 2.6772, -79.7751}, {50, 0, -82.7485}), 2.0425, 1e-4);
  EXPECT_NEAR(DeltaE00({50, 2.5, 0}, {73, 25, -18}), 27.1492, 1e-4);
  EXPECT_NEAR(DeltaE00({2.0776, 0.0795, -1.135}, {0.9033, -0.0636, -0.5514}), 0.9082, 1e-4);
}

TEST(Judge, ADisplayThatMeetsItsTargetScoresNothing) {
  const TJudgement judged = Judge(Parsed("gamma=2.2,black=0.5"), IdentityRamp(), TTarget::Gamma22);
  EXPECT_LT(judged.Max, 1e-9);
  EXPECT_NEAR(judged.Gamma, 2.2, 1e-9);
  const TJudgement srgb = Judge(Parsed("response=srgb"), IdentityRamp(), TTarget::Srgb);
  EXPECT_LT(srgb.Max, 1e-9);
}

TEST(Judge, AStrayDisplayIsMeasuredAgainstTheTarget) {
  const TJudgement judged = Judge(Parsed("gamma=2.6"), IdentityRamp(), TTarget::Gamma22);
  EXPECT_NEAR(judged.Mean, 3.43, 0.01);
  EXPECT_NEAR(judged.Max, 6.24, 0.01);
  EXPECT_NEAR(judged.Gamma, 2.6, 1e-9);
  EXPECT_NEAR(judged.TargetGamma, 2.2, 1e-9);
  EXPECT_DOUBLE_EQ(judged.Difference[0], 0);   // both start at the display's own black
  EXPECT_DOUBLE_EQ(judged.Difference[255], 0);  // and end at its white
}

TEST(Judge, Bt1886FollowsTheDisplaysOwnBlack) {
  const TDisplayModel model = Parsed("black=0.2,white=100");
  EXPECT_EQ(StandardIndexFor(TTarget::Bt1886, model), 3);  // "BT.1886 0.20 nits"
  EXPECT_EQ(StandardIndexFor(TTarget::Bt1886, Parsed("black=0.8,white=120")), 2);
  // L = a (V + b)^2.4 through the display's 0.2 and 100 cd/m².
  const TJudgement judged = Judge(model, IdentityRamp(), TTarget::Bt1886);
  EXPECT_NEAR(judged.TargetY[0], 0.2, 1e-9);
  EXPECT_NEAR(judged.TargetY[128], 22.72379, 1e-4);
  EXPECT_NEAR(judged.TargetY[255], 100, 1e-9);
}

// The CI's short run: fixed seeds, and figures that must stay under their bounds.
TEST(Observer, BringsAGamma26PanelToPowerGamma22) {
  const TDisplayModel model = Parsed("gamma=2.6");
  const TObserverRun ideal = Calibrate(model, StandardIndexFor(TTarget::Gamma22, model), TObserverKind::Ideal, 1);
  const TJudgement after = Judge(model, ideal.Ramp, TTarget::Gamma22);
  EXPECT_LE(after.Mean, 0.3);
  EXPECT_LE(after.Max, 1.0);
  EXPECT_NEAR(after.Gamma, 2.2, 0.05);
  const TObserverRun typical = Calibrate(model, 1, TObserverKind::Typical, 7);
  EXPECT_LE(Judge(model, typical.Ramp, TTarget::Gamma22).Mean, 1.0);
}

// Its actions are lines of the scripted view: replayed as a scripted session
// they leave the display with the same ramp.
TEST(Observer, ActsOnlyThroughTheScriptedViewsGrammar) {
  const TDisplayModel model = Parsed("red-gamma=2.5");
  const TObserverRun run = Calibrate(model, 1, TObserverKind::Ideal, 1);
  ASSERT_GT(run.Script.size(), 10u);
  std::string script;
  for (const std::string& line : run.Script) script += line + '\n';
  TVideoCard card;
  SetDisplaysPort(card);
  EnumerateDisplays();
  std::istringstream in(script + "click OkButton\n");
  std::ostringstream out;
  RunScriptedSession(in, out, nullptr);
  EXPECT_EQ(out.str().find("not understood"), std::string::npos) << out.str();
  TGammaRamp replayed{};
  card.GetRamp(nullptr, replayed);
  ReleaseDisplays();
  static TNoDisplays none;
  SetDisplaysPort(none);
  EXPECT_EQ(replayed, run.Ramp);
}

}  // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "bench/observer/colour_difference.h"
#include "bench/observer/judge.h"
#include "bench/observer/observer.h"
#include "bench/observer/observer_session.h"
#include "bench/observer/tone_graph.h"
#include "paint/target_standard.h"
#include "platform/script/script_view.h"
#include "ramp/display_discovery.h"
#include "tests/temp_folder.h"
#include "tools/render/png_file.h"

namespace {

TDisplayModel Parsed(const std::string& text) {
  TDisplayModel model;
  std::string error;
  EXPECT_TRUE(ParseDisplayModel(text, model, error)) << error;
  return model;
}

TGammaRamp IdentityRamp() {
  TGammaRamp ramp;
  for (int i = 0; i < 3 * LevelCount; ++i) ramp[i] = uint16_t(i % LevelCount * 257);
  return ramp;
}

TObserverRun IdealRun(const TDisplayModel& model) { return Calibrate(model, 1, TObserverKind::Ideal, 1); }

int CountOf(const TObserverRun& run, const std::string& line) {
  return int(std::count(run.Script.begin(), run.Script.end(), line));
}

TEST(DisplayModel, ResponsesGiveTheHandComputedLight) {
  // Clipping and crushing stretch what is left of the drive over the curve.
  const struct { const char* display; int channel; double drive, light; } cases[] = {
      {"gamma=2.2", 0, 0.5, 0.2176376},          {"response=srgb", 1, 0.5, 0.2140411},
      {"response=lcd,lcd-contrast=1.2", 2, 0.25, 0.0326478},
      {"clip-white=0.94", 0, 0.47, 0.2176376},   {"clip-white=0.94", 0, 0.95, 1.0},
      {"crush-black=0.03", 0, 0.515, 0.2176376}, {"crush-black=0.03", 0, 0.02, 0.0},
      {"red-gamma=2.5,red-gain=0.9", 0, 0.5, 0.9 * 0.1767767}};
  for (const auto& c : cases)
    EXPECT_NEAR(ChannelLight(Parsed(c.display), c.channel, c.drive), c.light, 1e-7) << c.display << " " << c.drive;
  // The panel takes the top bits of the ramp entry.
  EXPECT_NEAR(PanelDrive(Parsed(""), 0x80FF), 128 / 255.0, 1e-12);
  EXPECT_NEAR(PanelDrive(Parsed("bits=10"), 128 * 257), 514 / 1023.0, 1e-12);
}

TEST(DisplayModel, GreysSpanBlackToWhiteInTheWhitePointsColour) {
  const TDisplayModel model = Parsed("black=0.2,white=120");
  const TXyz white = ShownLight(model, IdentityRamp(), 255, 255, 255);
  EXPECT_NEAR(ShownLight(model, IdentityRamp(), 0, 0, 0).Y, 0.2, 1e-9);
  EXPECT_NEAR(white.Y, 120, 1e-9);
  EXPECT_NEAR(white.X, 114.0547, 1e-3);  // D65: x 0.3127, y 0.3290
  EXPECT_NEAR(white.Z, 130.6869, 1e-3);
  EXPECT_NEAR(ShownLight(model, IdentityRamp(), 128, 128, 128).Y, 0.2 + 119.8 * 0.2195197, 1e-4);
  // Blue carries 7.22 % of white's light with the sRGB primaries.
  EXPECT_NEAR(ShownLight(Parsed("blue-gain=0.93"), IdentityRamp(), 255, 255, 255).Y, 119.3946, 1e-3);
}

TEST(ColourDifference, MatchesPublishedCiede2000Pairs) {
  EXPECT_NEAR(DeltaE00({50, 2.6772, -79.7751}, {50, 0, -82.7485}), 2.0425, 1e-4);
  EXPECT_NEAR(DeltaE00({50, 2.5, 0}, {73, 25, -18}), 27.1492, 1e-4);
  EXPECT_NEAR(DeltaE00({2.0776, 0.0795, -1.135}, {0.9033, -0.0636, -0.5514}), 0.9082, 1e-4);
}

TEST(Judge, MeasuresTheDisplayAgainstTheTargetBetweenItsOwnBlackAndWhite) {
  EXPECT_LT(Judge(Parsed("gamma=2.2,black=0.5"), IdentityRamp(), TTarget::Gamma22).Max, 1e-9);
  EXPECT_LT(Judge(Parsed("response=srgb"), IdentityRamp(), TTarget::Srgb).Max, 1e-9);
  const TJudgement stray = Judge(Parsed("gamma=2.6"), IdentityRamp(), TTarget::Gamma22);
  EXPECT_NEAR(stray.Mean, 3.43, 0.01);
  EXPECT_NEAR(stray.Max, 6.24, 0.01);
  EXPECT_NEAR(stray.Gamma, 2.6, 1e-9);
  EXPECT_DOUBLE_EQ(stray.Difference[0], 0);    // both start at the display's own black
  EXPECT_DOUBLE_EQ(stray.Difference[255], 0);  // and end at its white
  // BT.1886 follows the display's own black.
  const TDisplayModel model = Parsed("black=0.2,white=100");
  EXPECT_EQ(StandardIndexFor(TTarget::Bt1886, model), 3);  // "BT.1886 0.20 nits"
  EXPECT_EQ(StandardIndexFor(TTarget::Bt1886, Parsed("black=0.8,white=120")), 2);
  // L = a (V + b)^2.4 through the display's 0.2 and 100 cd/m².
  const TJudgement judged = Judge(model, IdentityRamp(), TTarget::Bt1886);
  EXPECT_NEAR(judged.TargetY[0], 0.2, 1e-9);
  EXPECT_NEAR(judged.TargetY[128], 22.72379, 1e-4);
  EXPECT_NEAR(judged.TargetY[255], 100, 1e-9);
}

// The eye takes a tile of fine lines for the mean of their two lights, drawn
// by the real page and shown through the ramp the window last loaded.
TEST(ObserverSession, AveragesTheLinesOfATileThroughThePresentRamp) {
  const TDisplayModel model = Parsed("gamma=2.6");
  TObserverSession session(model);
  for (const char* action : {"select StandardComboBox 1", "tab 6", "type PointPosEdit 100",
                             "type GammaEdit 20" /* on the hidden Gamma panel */, "up PointUpDown"})
    session.Act(action);
  const TDitherPair pair = DitherPair(100);
  const TXyz low = session.LightOf(pair.Low * 0x010101), high = session.LightOf(pair.High * 0x010101);
  const TXyz tile = session.Light({1110, 440, 1170, 500});  // the top grey tile, 30 line pairs
  EXPECT_NEAR(tile.Y, (low.Y + high.Y) / 2, 1e-9);
  EXPECT_NEAR(tile.Z, (low.Z + high.Z) / 2, 1e-9);
  const TGammaRamp ramp = session.PresentRamp();
  EXPECT_NEAR(session.Light({1172, 440, 1198, 640}).Y, ShownLight(model, ramp, 100, 100, 100).Y, 1e-9);
  EXPECT_NE(ramp[100], 100 * 257);  // the ramp the observer sees through is the session's
}

// The CI's short run: fixed seeds, and figures that must stay under their bounds
// (its maximum and gamma: observer_cli.sh).
TEST(Observer, BringsAGamma26PanelToPowerGamma22) {
  const TDisplayModel model = Parsed("gamma=2.6"), tenBits = Parsed("gamma=2.6,bits=10");
  const TObserverRun ideal = Calibrate(model, StandardIndexFor(TTarget::Gamma22, model), TObserverKind::Ideal, 1);
  const TJudgement after = Judge(model, ideal.Ramp, TTarget::Gamma22);
  EXPECT_LE(after.Mean, 0.3);
  const TObserverRun typical = Calibrate(model, 1, TObserverKind::Typical, 7);
  EXPECT_LE(Judge(model, typical.Ramp, TTarget::Gamma22).Mean, 1.0);
  EXPECT_EQ(Calibrate(model, 1, TObserverKind::Typical, 7).Script, typical.Script);  // a seed repeats its run
  EXPECT_NE(Calibrate(model, 1, TObserverKind::Typical, 8).Script, typical.Script);
  // Through a 10-bit input the ramp's finer steps reach the light: the same observer lands nearer.
  EXPECT_LT(Judge(tenBits, IdealRun(tenBits).Ramp, TTarget::Gamma22).Mean, after.Mean / 2);
}

TEST(Observer, LeavesADisplayOnTargetAsItIs) {
  const TObserverRun ideal = IdealRun(Parsed("gamma=2.2"));
  EXPECT_EQ(ideal.Ramp, IdentityRamp());
  // Square 250 stays within a typical eye's threshold of the white whatever
  // White does: the observer tries, then puts White back.
  const TObserverRun typical = Calibrate(Parsed("gamma=2.2"), 1, TObserverKind::Typical, 3);
  EXPECT_EQ(CountOf(typical, "down WhiteUpDown"), CountOf(typical, "up WhiteUpDown"));
  EXPECT_EQ(typical.Ramp[255], 65535);
}

// Each page's fault on a display that has it: the observer takes that page's
// control, the entry it moves stays inside the panel's range (black stays
// black), and the judge (in D65 grey, so a tint counts) finds it near the target.
TEST(Observer, CorrectsEachFaultWithItsPagesControl) {
  const struct { const char* display; const char* action; int entry; double entryBelow;
                 double TJudgement::*figure; double bound; } cases[] = {
      {"crush-black=0.03", "up BlackUpDown", 0, 0.03, &TJudgement::Mean, 0.5},   // before: 1.14
      {"clip-white=0.94", "down WhiteUpDown", 250, 0.94, &TJudgement::Max, 1.0},  // before: 3.03
      {"blue-gain=0.93", "down WhiteRUpDown", 255, 1.0, &TJudgement::Mean, 0.6}};  // before: 2.30
  for (const auto& c : cases) {
    const TDisplayModel model = Parsed(c.display);
    const TObserverRun run = IdealRun(model);
    EXPECT_GT(CountOf(run, c.action), 0) << c.display;
    EXPECT_LT(run.Ramp[c.entry], c.entryBelow * 65535) << c.display;
    EXPECT_LT(Judge(model, run.Ramp, TTarget::Gamma22).*c.figure, c.bound) << c.display;
  }
}

// Its actions are lines of the scripted view: replayed as a scripted session
// they leave the display with the same ramp.
TEST(Observer, ActsOnlyThroughTheScriptedViewsGrammar) {
  const TObserverRun run = IdealRun(Parsed("red-gamma=2.5"));
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

TEST(ToneGraph, DrawsTargetBeforeAndAfterForEachDisplay) {
  TempFolder folder;
  const TJudgement judged = Judge(Parsed("gamma=2.6"), IdentityRamp(), TTarget::Gamma22);
  std::string error;
  ASSERT_TRUE(WriteToneGraph(folder.File("graph.png"), {{judged, judged}, {judged, judged}}, error)) << error;
  TPixelImage image;
  ASSERT_TRUE(ReadPng(folder.File("graph.png"), image, error)) << error;
  EXPECT_EQ(image.Width, 2 * (512 + 96));
  EXPECT_EQ(image.Height, 512 + 96);
  // Level 128 in the first panel: the 2.2 target at 0.2195 of the way up,
  // the display's 2.6 (after, drawn last) at 0.1656.
  EXPECT_EQ(image.Pixels[size_t(48 + 512 - 112) * image.Width + 48 + 257], 0x000000u);
  EXPECT_EQ(image.Pixels[size_t(48 + 512 - 85) * image.Width + 48 + 257], 0xC06000u);
}

}  // namespace

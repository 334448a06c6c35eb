#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "bench/observer/judge.h"
#include "bench/observer/observer.h"
#include "bench/observer/observer_session.h"
#include "bench/observer/tone_graph.h"
#include "paint/page_state.h"
#include "paint/target_standard.h"
#include "tests/temp_folder.h"
#include "tools/render/png_file.h"

namespace {

TDisplayModel Parsed(const std::string& text) {
  TDisplayModel model;
  std::string error;
  EXPECT_TRUE(ParseDisplayModel(text, model, error)) << error;
  return model;
}

int CountOf(const TObserverRun& run, const std::string& line) {
  return int(std::count(run.Script.begin(), run.Script.end(), line));
}

// The eye takes a tile of fine lines for the mean of their two lights, drawn
// by the real page and shown through the ramp the window last loaded.
TEST(ObserverSession, AveragesTheLinesOfATileThroughThePresentRamp) {
  const TDisplayModel model = Parsed("gamma=2.6");
  TObserverSession session(model);
  session.Act("select StandardComboBox 1");
  session.Act("tab 6");
  session.Act("type PointPosEdit 100");
  session.Act("type GammaEdit 20");  // on the hidden Gamma panel: the edit still takes it
  session.Act("up PointUpDown");
  const TDitherPair pair = DitherPair(100);
  const TXyz low = session.LightOf(pair.Low * 0x010101), high = session.LightOf(pair.High * 0x010101);
  const TXyz tile = session.Light({1110, 440, 1170, 500});  // the top grey tile, 30 line pairs
  EXPECT_NEAR(tile.Y, (low.Y + high.Y) / 2, 1e-9);
  EXPECT_NEAR(tile.Z, (low.Z + high.Z) / 2, 1e-9);
  const TGammaRamp ramp = session.PresentRamp();
  EXPECT_NEAR(session.Light({1172, 440, 1198, 640}).Y, ShownLight(model, ramp, 100, 100, 100).Y, 1e-9);
  EXPECT_NE(ramp[100], 100 * 257);  // the ramp the observer sees through is the session's
}

TEST(Observer, LeavesADisplayOnTargetAsItIs) {
  const TObserverRun run = Calibrate(Parsed("gamma=2.2"), 1, TObserverKind::Ideal, 1);
  for (const std::string& line : run.Script) EXPECT_TRUE(line.rfind("up ", 0) && line.rfind("down ", 0)) << line;
  for (int v = 0; v < LevelCount; ++v) ASSERT_EQ(run.Ramp[v], v * 257) << v;
}

TEST(Observer, RaisesBlackWhereThePanelCrushesItsShadows) {
  const TDisplayModel model = Parsed("crush-black=0.03");
  const TObserverRun run = Calibrate(model, 1, TObserverKind::Ideal, 1);
  EXPECT_GT(CountOf(run, "up BlackUpDown"), 0);
  EXPECT_GT(run.Ramp[0], 0);
  EXPECT_LT(run.Ramp[0], 0.03 * 65535);  // black itself stays black
  EXPECT_LT(Judge(model, run.Ramp, TTarget::Gamma22).Mean, 0.5);
}

TEST(Observer, LowersWhereThePanelClipsItsHighlights) {
  const TDisplayModel model = Parsed("clip-white=0.94");
  const TObserverRun run = Calibrate(model, 1, TObserverKind::Ideal, 1);
  EXPECT_GT(CountOf(run, "down WhiteUpDown"), 0);
  EXPECT_LT(run.Ramp[250], 0.94 * 65535);
  EXPECT_LT(Judge(model, run.Ramp, TTarget::Gamma22).Max, 1.0);
}

TEST(Observer, GivesUpLoweringWhiteWhenNoSquareComesOut) {
  // Without clipping, square 250 stays within a typical eye's threshold of the
  // white whatever White does: the observer tries, then puts White back.
  const TObserverRun run = Calibrate(Parsed("gamma=2.2"), 1, TObserverKind::Typical, 3);
  EXPECT_EQ(CountOf(run, "down WhiteUpDown"), CountOf(run, "up WhiteUpDown"));
  EXPECT_EQ(run.Ramp[255], 65535);
}

TEST(Observer, NeutralisesATintedWhiteOnTheColorBalancePage) {
  const TDisplayModel model = Parsed("blue-gain=0.93");
  const TObserverRun run = Calibrate(model, 1, TObserverKind::Ideal, 1);
  auto offWhite = [&](const TGammaRamp& ramp) {  // xy distance of the white from D65
    const TXyz white = ShownLight(model, ramp, 255, 255, 255);
    const double sum = white.X + white.Y + white.Z;
    return std::hypot(white.X / sum - 0.3127, white.Y / sum - 0.3290);
  };
  TGammaRamp identity;
  for (int c = 0; c < 3; ++c)
    for (int v = 0; v < LevelCount; ++v) identity[c * LevelCount + v] = uint16_t(v * 257);
  EXPECT_NEAR(offWhite(identity), 0.0090, 0.0005);
  EXPECT_LT(offWhite(run.Ramp), 0.006);
  EXPECT_GT(CountOf(run, "down WhiteRUpDown") + CountOf(run, "down WhiteGUpDown"), 0);
  EXPECT_LT(Judge(model, run.Ramp, TTarget::Gamma22).Mean, 0.6);
}

TEST(Observer, TypicalRunsRepeatWithTheirSeed) {
  const TDisplayModel model = Parsed("red-gamma=2.5");
  const TObserverRun first = Calibrate(model, 1, TObserverKind::Typical, 11);
  EXPECT_EQ(Calibrate(model, 1, TObserverKind::Typical, 11).Script, first.Script);
  EXPECT_NE(Calibrate(model, 1, TObserverKind::Typical, 12).Script, first.Script);
}

// The same display through a 10-bit input: the ramp's finer steps reach the
// light, so the same observer lands nearer the target.
TEST(Observer, ATenBitPanelShowsTheRampsFinerSteps) {
  const TDisplayModel eight = Parsed("gamma=2.6"), ten = Parsed("gamma=2.6,bits=10");
  const double eightAfter = Judge(eight, Calibrate(eight, 1, TObserverKind::Ideal, 1).Ramp, TTarget::Gamma22).Mean;
  const double tenAfter = Judge(ten, Calibrate(ten, 1, TObserverKind::Ideal, 1).Ramp, TTarget::Gamma22).Mean;
  EXPECT_LT(tenAfter, eightAfter / 2);
}

TEST(ToneGraph, DrawsTargetBeforeAndAfterForEachDisplay) {
  TempFolder folder;
  TGammaRamp identity;
  for (int c = 0; c < 3; ++c)
    for (int v = 0; v < LevelCount; ++v) identity[c * LevelCount + v] = uint16_t(v * 257);
  const TJudgement judged = Judge(Parsed("gamma=2.6"), identity, TTarget::Gamma22);
  std::string error;
  ASSERT_TRUE(WriteToneGraph(folder.File("graph.png"), {{judged, judged}, {judged, judged}}, error)) << error;
  TPixelImage image;
  ASSERT_TRUE(ReadPng(folder.File("graph.png"), image, error)) << error;
  EXPECT_EQ(image.Width, 2 * (512 + 96));
  EXPECT_EQ(image.Height, 512 + 96);
  auto at = [&](int x, int y) { return image.Pixels[size_t(y) * image.Width + x]; };
  // Level 128 in the first panel: the 2.2 target at 0.2195 of the way up,
  // the display's 2.6 (after, drawn last) at 0.1656.
  EXPECT_EQ(at(48 + 257, 48 + 512 - 112), 0x000000u);
  EXPECT_EQ(at(48 + 257, 48 + 512 - 85), 0xC06000u);
}

}  // namespace

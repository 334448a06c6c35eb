#include "bench/observer/observer.h"

#include <functional>
#include <map>
#include <random>
#include <tuple>

#include "bench/observer/colour_difference.h"
#include "bench/observer/observer_session.h"
#include "paint/page_state.h"

namespace {

// Where the pages put what the help texts speak of, on the 1920 x 1080 window
// at 96 DPI (the large variants of the patterns).
constexpr int32_t SquaresLeft = 520, SquaresTop = 500, SquareStep = 100, SquareSize = 80;
constexpr int32_t StripLeft = 830, StripTop = 412, StripColumn = 52, StripHeight = 256;
constexpr int32_t GradientLeft = 32, GradientWidth = 1856, GradientTop = 420, GradientBottom = 470;
constexpr int32_t BlockLeft = 720, BlockTop = 430, BlockWidth = 480, BlockHeight = 220, Tile = 60, TileGap = 10;
constexpr int32_t GraysX = 960, GraysY = 540, GraysTile = 80, GraysGap = 8;

// The levels the observer looks at with Correction Points and Grays, from
// the top down: a level's lines are set against a brighter level, so that
// one is put right first.
constexpr int32_t CheckedLevels[] = {240, 224, 208, 192, 176, 160, 144, 128, 112, 96, 80, 64, 48, 40, 32, 24, 16, 8};
// Rows of the Gamma page's strip, by level.
constexpr int32_t StripLevels[] = {190, 160, 130, 100, 75, 50, 30};
// Patches of the Color Balance gradient, by level.
constexpr int32_t DarkLevels[] = {16, 32, 64}, MidLevels[] = {96, 128}, LightLevels[] = {160, 200, 250};
// On the black page the eye adapts to about a tenth of the display's white.
constexpr double DarkAdaptation = 0.1;
// Steps of one control after which a page that shows no change is left as it was.
constexpr int GiveUpSteps = 20;
// A typical observer's judgement: a lasting offset per comparison (CIELAB
// units, each axis) and a fresh one per look (ΔE00).
constexpr double LastingBias = 0.4, LookNoise = 0.15;
constexpr int DescentBudget = 150;
constexpr int Patience = 3, Reach = 8;

TXyz Mean(const TXyz& a, const TXyz& b) { return {(a.X + b.X) / 2, (a.Y + b.Y) / 2, (a.Z + b.Z) / 2}; }

class TObserver {
 public:
  TObserver(TObserverSession& session, TObserverKind kind, uint32_t seed)
      : session_(session), kind_(kind), threshold_(kind == TObserverKind::Ideal ? 0.5 : 1.0),
        margin_(kind == TObserverKind::Ideal ? 0.0 : 2 * LookNoise), random_(seed) {
    white_ = session_.LightOf(White).Y;
  }

  void Run(int32_t standard, std::vector<std::string>& notes) {
    session_.Act("select StandardComboBox " + std::to_string(standard));
    BlackPoint(notes);
    WhitePoint(notes);
    GammaStrip();
    ColorBalance();
    for (int pass = 0; pass < 2; ++pass) PointsPage();
    GraysTiles();
  }

 private:
  // The difference the observer perceives between two lights. A typical
  // observer misjudges each comparison it makes in its own lasting way (an
  // offset in CIELAB drawn once per area pair, as a person who sees one tile
  // a little warm sees it so every time) and each look a little differently.
  double Seen(const TXyz& a, const TXyz& b, double adaptation = 1.0) {
    const TXyz reference = D65At(white_ * adaptation);
    TLab seenB = ToLab(b, reference);
    if (kind_ == TObserverKind::Typical) {
      const auto key = std::tuple{CurrentPage, CurrentPoint, comparison_++};
      auto bias = biases_.find(key);
      if (bias == biases_.end()) {
        std::normal_distribution<double> offset(0, LastingBias);
        bias = biases_.emplace(key, TLab{offset(random_), offset(random_), offset(random_)}).first;
      }
      seenB = {seenB.L + bias->second.L, seenB.A + bias->second.A, seenB.B + bias->second.B};
    }
    const double difference = DeltaE00(ToLab(a, reference), seenB);
    if (kind_ == TObserverKind::Ideal) return difference;
    return std::max(0.0, difference + std::normal_distribution<double>(0, LookNoise)(random_));
  }
  // Each look at a page makes its comparisons in the same order.
  double Look(const std::function<double()>& look) {
    comparison_ = 0;
    wanted_.clear();
    return look();
  }
  // Only what is seen counts.
  double Visible(double difference) const { return difference >= threshold_ ? difference : 0; }

  // A visible tint of an area that should be grey: the area against a neutral
  // grey of its own light, as against a sheet of paper. Every page shows it,
  // so a control that tints the greys is seen to do so.
  double Tint(const TXyz& area, std::initializer_list<const char*> controls) {
    const double seen = Visible(Seen(area, D65At(area.Y)));
    if (seen > 0)
      for (const char* control : controls) wanted_.emplace(control, 0);
    return seen;
  }
  // Two areas that should look alike. When they do not, the help text names
  // the control, and which way to turn it: up when `area` looks lighter.
  double Compare(const TXyz& area, const TXyz& reference, std::initializer_list<const char*> controls) {
    const double seen = Visible(Seen(area, reference));
    if (seen > 0)
      for (const char* control : controls) wanted_.emplace(control, area.Y > reference.Y ? 1 : -1);
    return seen;
  }

  // Tries each control either way and keeps the position after which the
  // page shows least difference, until nothing is seen or nothing helps. A
  // step often changes nothing the panel's 8 bits can show (a point step is a
  // quarter of a panel level), and the light moves in uneven steps, so like a
  // person it goes on past steps that change nothing, and a few past ones that
  // look worse, before it turns back to the best.
  void Descend(const std::function<double()>& look, const std::vector<std::string>& controls) {
    double seen = Look(look);
    const int start = session_.Actions();
    auto budgetLeft = [&] { return session_.Actions() - start < DescentBudget; };
    while (seen > 0 && budgetLeft()) {
      bool helped = false;
      seen = Look(look);
      const std::map<std::string, int> wanted = wanted_;
      for (const std::string& control : controls) {
        const auto want = wanted.find(control);
        if (!wanted.empty() && want == wanted.end()) continue;
        const bool upFirst = want == wanted.end() || want->second >= 0;
        for (const bool up : {upFirst, !upFirst}) {
          const std::string forth = (up ? "up " : "down ") + control, back = (up ? "down " : "up ") + control;
          int steps = 0, bestSteps = 0, worse = 0;
          while (worse < Patience && steps - bestSteps < Reach && seen > 0 && budgetLeft()) {
            session_.Act(forth);
            ++steps;
            const double next = Look(look);
            if (next < seen - margin_) seen = next, bestSteps = steps, worse = 0;
            else if (next > seen + margin_) ++worse;
          }
          for (; steps > bestSteps; --steps) session_.Act(back);
          helped = bestSteps > 0;
          if (helped) break;
        }
        if (helped) break;
      }
      if (!helped) break;
    }
  }

  // Steps one control while the squares of a Black Point or White Point page
  // still hide `wanted`; leaves the control as it was when twenty steps bring no
  // new square into sight.
  bool StepUntilShown(const std::string& step, const std::string& back, int wanted, double adaptation) {
    auto shown = [&] {
      comparison_ = 0;
      int count = 0;
      std::vector<bool> seen;
      const TXyz ground = session_.Light({SquaresLeft, SquaresTop + 100, SquaresLeft + 880, SquaresTop + 180});
      for (int i = 0; i < 9; ++i) {
        const int32_t left = SquaresLeft + i * SquareStep;
        const TXyz square = session_.Light({left, SquaresTop, left + SquareSize, SquaresTop + SquareSize});
        seen.push_back(Seen(square, ground, adaptation) >= threshold_);
        count += seen.back();
      }
      return std::pair{count, bool(seen[wanted])};
    };
    auto [best, done] = shown();
    int sinceNew = 0;
    while (!done) {
      session_.Act(step);
      const auto [count, wantedSeen] = shown();
      done = wantedSeen;
      if (count > best) best = count, sinceNew = 0;
      else if (++sinceNew == GiveUpSteps) {
        for (int i = 0; i < GiveUpSteps; ++i) session_.Act(back);
        return false;
      }
    }
    return true;
  }

  void BlackPoint(std::vector<std::string>& notes) {
    session_.Act("tab " + std::to_string(BlackPointPage));
    // The help text asks for square 1 to show; the observer settles for the
    // brightest, square 9 (see the README on what the page shows).
    if (!StepUntilShown("up BlackUpDown", "down BlackUpDown", 8, DarkAdaptation))
      notes.push_back("Black Point: raising Black brought square 9 no nearer to showing");
  }

  void WhitePoint(std::vector<std::string>& notes) {
    session_.Act("tab " + std::to_string(WhitePointPage));
    // Square 250, the middle one: a one-level step at white is below what an
    // eye tells apart on a display that clips nothing.
    if (!StepUntilShown("down WhiteUpDown", "up WhiteUpDown", 4, 1.0))
      notes.push_back("White Point: lowering White brought no square out of the white");
  }

  void GammaStrip() {
    session_.Act("tab " + std::to_string(GammaPage));
    auto look = [&] {
      double sum = 0;
      for (int32_t level : StripLevels) {
        const int32_t row = (200 - level) * StripHeight / 190 / 2 * 2 - 4;
        auto area = [&](int32_t from, int32_t to) {
          return session_.Light({StripLeft + from, StripTop + row, StripLeft + to, StripTop + row + 8});
        };
        const int32_t w = StripColumn, u = w / 2;
        const TXyz grey = Mean(area(0, u), area(4 * w + u, 5 * w));
        sum += Tint(grey, {"GammaRUpDown", "GammaGUpDown", "GammaBUpDown"});
        sum += Compare(area(u, u + w), grey, {"GammaUpDown", "GammaRUpDown"});
        sum += Compare(area(2 * w, 3 * w), grey, {"GammaUpDown", "GammaGUpDown"});
        sum += Compare(area(3 * w + u, 4 * w + u), grey, {"GammaUpDown", "GammaBUpDown"});
      }
      return sum;
    };
    Descend(look, {"GammaUpDown", "GammaRUpDown", "GammaGUpDown", "GammaBUpDown"});
  }

  double Tints(std::initializer_list<int32_t> levels, std::initializer_list<const char*> controls) {
    double sum = 0;
    for (int32_t level : levels) {
      const int32_t x = GradientLeft + level * GradientWidth / 255;
      const TXyz patch = session_.Light({x - 4, GradientTop, x + 4, GradientBottom});
      sum += Tint(patch, controls);
    }
    return sum;
  }

  void ColorBalance() {
    session_.Act("tab " + std::to_string(ColorBalancePage));
    const auto blacks = {"BlackRUpDown", "BlackGUpDown", "BlackBUpDown"};
    const auto whites = {"WhiteRUpDown", "WhiteGUpDown", "WhiteBUpDown"};
    const auto balances = {"BalanceRUpDown", "BalanceGUpDown", "BalanceBUpDown"};
    auto dark = [&] { return Tints({DarkLevels[0], DarkLevels[1], DarkLevels[2]}, blacks); };
    auto light = [&] { return Tints({LightLevels[0], LightLevels[1], LightLevels[2]}, whites); };
    auto all = [&] {
      return Tints({DarkLevels[0], DarkLevels[1], DarkLevels[2], MidLevels[0], MidLevels[1], LightLevels[0],
                    LightLevels[1], LightLevels[2]},
                   balances);
    };
    Descend(light, {"WhiteRUpDown", "WhiteGUpDown", "WhiteBUpDown"});
    Descend(dark, {"BlackRUpDown", "BlackGUpDown", "BlackBUpDown"});
    Descend(all, {"BalanceRUpDown", "BalanceGUpDown", "BalanceBUpDown"});
  }

  void PointsPage() {
    session_.Act("tab " + std::to_string(CorrectionPointsPage));
    auto look = [&] {
      const int32_t right = BlockLeft + BlockWidth;
      const int32_t top = BlockTop + TileGap, bottom = BlockTop + BlockHeight - TileGap;
      // The block's solid margins, right of the grey tiles and left of the colour ones.
      const TXyz block = Mean(session_.Light({right - 28, top, right - 2, bottom}),
                              session_.Light({BlockLeft + 2, top, BlockLeft + 28, bottom}));
      double sum = Tint(block, {"PointRUpDown", "PointGUpDown", "PointBUpDown"});
      const char* const channels[3] = {"PointRUpDown", "PointGUpDown", "PointBUpDown"};
      for (int row = 0; row < 3; ++row) {
        const int32_t tileTop = top + row * (Tile + TileGap);
        const int32_t greyLeft = right - Tile - Tile / 2, colourLeft = BlockLeft + Tile / 2;
        sum += Compare(session_.Light({greyLeft, tileTop, greyLeft + Tile, tileTop + Tile}), block, {"PointUpDown"});
        sum += Compare(session_.Light({colourLeft, tileTop, colourLeft + Tile, tileTop + Tile}), block,
                       {channels[row]});
      }
      return sum;
    };
    for (int32_t level : CheckedLevels) {
      session_.Act("type PointPosEdit " + std::to_string(level));
      Descend(look, {"PointUpDown", "PointRUpDown", "PointGUpDown", "PointBUpDown"});
    }
  }

  void GraysTiles() {
    session_.Act("tab " + std::to_string(GraysPage));
    auto look = [&] {
      const TXyz rectangle = session_.Light({GraysX - 280, GraysY - 80, GraysX - 120, GraysY + 80});
      double sum = Tint(rectangle, {"PointRUpDown", "PointGUpDown", "PointBUpDown"});
      for (int32_t left : {GraysX + GraysGap, GraysX - GraysTile - GraysGap})
        for (int32_t top : {GraysY + GraysGap, GraysY - GraysTile - GraysGap}) {
          const TXyz tile = session_.Light({left, top, left + GraysTile, top + GraysTile});
          // The bottom right tile mixes all channels alike; the others swap them.
          if (left > GraysX && top > GraysY) sum += Compare(tile, rectangle, {"PointUpDown"});
          else sum += Compare(tile, rectangle, {"PointRUpDown", "PointGUpDown", "PointBUpDown"});
        }
      return sum;
    };
    for (int32_t level : CheckedLevels) {
      session_.Act("type PointPosEdit " + std::to_string(level));
      Descend(look, {"PointRUpDown", "PointGUpDown", "PointBUpDown", "PointUpDown"});
    }
  }

  TObserverSession& session_;
  TObserverKind kind_;
  double threshold_;
  // How much better or worse a look must be to be told from the last: the
  // typical observer's own noise makes smaller changes meaningless to it.
  double margin_;
  std::mt19937 random_;
  int comparison_ = 0;
  // What the last look asked for: control name and the way to try first.
  std::map<std::string, int> wanted_;
  std::map<std::tuple<int32_t, int32_t, int>, TLab> biases_;
  double white_;
};

}  // namespace

TObserverRun Calibrate(const TDisplayModel& model, int32_t standard, TObserverKind kind, uint32_t seed) {
  TObserverSession session(model);
  TObserverRun run;
  TObserver(session, kind, seed).Run(standard, run.Notes);
  run.Script = session.Script();
  run.Ramp = session.PresentRamp();
  return run;
}

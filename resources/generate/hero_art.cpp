#include "resources/generate/hero_art.h"

#include <cmath>

namespace {

constexpr float TileInset = 24, TileRadius = 104;
constexpr float PlotLeft = 112, PlotTop = 76, PlotSize = 288;
constexpr float WedgeTop = 400, WedgeBottom = 448;

const TRgb TileTop{44, 53, 68}, TileBottom{18, 22, 29};
const TRgb GridColour{60, 71, 90};
const TRgb RimColour{78, 92, 116};

TRgb TileShade(float x, float y) {
  const TRgb base = Mix(TileTop, TileBottom, y / HeroSize);
  // A soft light from the upper left.
  const float light = std::exp(-(std::pow(x - 150, 2.0f) + std::pow(y - 110, 2.0f)) / 60000);
  return Mix(base, TRgb{70, 84, 106}, 0.5f * light);
}

TPoint PlotPoint(float input, float output) {
  return {PlotLeft + input * PlotSize, PlotTop + (1 - output) * PlotSize};
}

std::vector<TPoint> ToneCurve(float gamma) {
  std::vector<TPoint> points;
  constexpr int Segments = 160;
  for (int i = 0; i <= Segments; ++i) {
    const float t = float(i) / Segments;
    points.push_back(PlotPoint(t, std::pow(t, 1 / gamma)));
  }
  return points;
}

void PaintGrid(TPicture& picture) {
  for (int i = 0; i <= 4; ++i) {
    const float at = PlotSize * i / 4;
    picture.StrokePolyline({{PlotLeft + at, PlotTop}, {PlotLeft + at, PlotTop + PlotSize}}, 1.5f,
                           GridColour);
    picture.StrokePolyline({{PlotLeft, PlotTop + at}, {PlotLeft + PlotSize, PlotTop + at}}, 1.5f,
                           GridColour);
  }
  // The identity line, faint, as the curve the channels depart from.
  picture.StrokePolyline({PlotPoint(0, 0), PlotPoint(1, 1)}, 2, TRgb{84, 98, 122});
}

void PaintCurves(TPicture& picture) {
  // Added light: where the three channels' curves meet they turn white.
  picture.StrokePolyline(ToneCurve(1.8f), 7, TRgb{235, 52, 44}, true);
  picture.StrokePolyline(ToneCurve(2.2f), 7, TRgb{44, 215, 72}, true);
  picture.StrokePolyline(ToneCurve(2.7f), 7, TRgb{52, 104, 250}, true);
  for (float t : {0.25f, 0.5f, 0.75f}) {
    const TPoint at = PlotPoint(t, std::pow(t, 1 / 2.2f));
    picture.FillDisc(at, 10, [](float, float) { return TRgb{18, 22, 29}; });
    picture.FillDisc(at, 7, [](float, float) { return Grey(245); });
  }
}

void PaintWedge(TPicture& picture) {
  const float right = HeroWedgeLeft + HeroWedgeSteps * HeroWedgeStep;
  picture.FillRoundedRect(HeroWedgeLeft - 3, WedgeTop - 3, right + 3, WedgeBottom + 3, 10,
                          [](float, float) { return RimColour; });
  picture.FillRoundedRect(HeroWedgeLeft, WedgeTop, right, WedgeBottom, 7, [](float x, float) {
    return Grey(float(HeroWedgeLevel(int((x - HeroWedgeLeft) / HeroWedgeStep))));
  });
}

}  // namespace

int HeroWedgeLevel(int step) {
  if (step < 0) step = 0;
  if (step >= HeroWedgeSteps) step = HeroWedgeSteps - 1;
  return 255 * step / (HeroWedgeSteps - 1);
}

float HeroTileCoverage(float x, float y) {
  return EdgeCoverage(InsideRoundedRect(x, y, TileInset, TileInset, HeroSize - TileInset,
                                        HeroSize - TileInset, TileRadius));
}

TPicture PaintHero() {
  TPicture picture(HeroSize, HeroSize, Grey(0));
  const float far = HeroSize - TileInset;
  picture.FillRoundedRect(TileInset, TileInset, far, far, TileRadius,
                          [](float, float) { return RimColour; });
  picture.FillRoundedRect(TileInset + 2, TileInset + 2, far - 2, far - 2, TileRadius - 2,
                          TileShade);
  PaintGrid(picture);
  PaintCurves(picture);
  PaintWedge(picture);
  return picture;
}

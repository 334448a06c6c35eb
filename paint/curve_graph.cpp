#include "paint/curve_graph.h"

#include "paint/scaling.h"
#include "ramp/records.h"

namespace {

constexpr int32_t FullGraphMinHeight = 668;  // scaled pattern height
constexpr int32_t ReducedGraphDesignHeight = 780;

constexpr TColor GridColor = Grey(71), FrameColor = Grey(110), PointLineColor = Grey(140);
constexpr TColor TickThreshold = 0x808080;

const std::array<bool, LevelCount>* EditedPointFlags() {
  if (CurrentDisplay < 0 || size_t(CurrentDisplay) >= Curves.size()) return nullptr;
  return &Curves[CurrentDisplay].PointSet;
}

}  // namespace

int32_t GraphPpi(int32_t patternHeight, int32_t ppi) {
  if (Scale(patternHeight, ppi) >= FullGraphMinHeight) return ppi;
  return int32_t(RoundHalfEven((long double)patternHeight / ReducedGraphDesignHeight * DesignDpi));
}

void DrawCurveGraph(TCanvas& canvas, TCanvas& shades, int32_t x, int32_t y, TColor background, bool showPoint,
                    int32_t patternHeight, int32_t ppi) {
  const int32_t p = GraphPpi(patternHeight, ppi);
  auto S = [p](int32_t value) { return Scale(value, p); };
  const int32_t bottom = y + S(255), right = x + S(255);

  FillRectangle(shades, x, y, x + S(256), y + S(256), background);

  canvas.SetPenColor(GridColor);
  for (int32_t g : {127, 63, 191}) DrawLine(canvas, x + S(g), bottom, x + S(g), y);
  for (int32_t g : {127, 63, 191}) DrawLine(canvas, x, y + S(g), right, y + S(g));
  DrawLine(canvas, x, bottom, right, y);

  canvas.SetPenColor(FrameColor);
  DrawLine(canvas, x, bottom, x, y);
  DrawLine(canvas, right, bottom, right, y);
  DrawLine(canvas, x, y, x + S(256), y);
  DrawLine(canvas, x, bottom, right, bottom);

  for (int32_t i = 0; i <= S(255); ++i) {
    shades.SetPenColor(Grey(MulDivRounded(i, DesignDpi, p)));
    DrawLine(shades, x + i, y + S(266), x + i, y + S(260));
    DrawLine(shades, x - S(4), bottom - i, x - S(10), bottom - i);
  }

  if (const auto* pointSet = EditedPointFlags()) {
    canvas.SetPenColor(background > TickThreshold ? Black : White);
    for (int32_t v = 0; v < LevelCount; ++v)
      if ((*pointSet)[v]) DrawLine(canvas, x + S(v), y + S(257), x + S(v), y + S(259));
  }

  if (showPoint) {
    canvas.SetPenColor(PointLineColor);
    DrawLine(canvas, x + S(CurrentPoint), y + S(1), x + S(CurrentPoint), y + S(255));
  }

  for (int32_t channel = 0; channel < 3; ++channel) {
    const uint16_t* table = &WorkRamp[channel * LevelCount];
    auto Height = [&](int32_t level) { return y + S(255 - (table[level] >> 8)); };
    canvas.SetPenColor(ChannelColors[channel]);
    canvas.MoveTo(x, Height(0));
    for (int32_t i = 0; i < LevelCount; ++i) canvas.LineTo(x + S(i), Height(i));
    canvas.LineTo(x + S(256), Height(LevelCount - 1));
  }
}

#include "bench/observer/tone_graph.h"

#include <cmath>

#include "paint/block_font.h"
#include "paint/raster_canvas.h"
#include "tools/render/png_file.h"

namespace {

constexpr int32_t PanelSize = 512, Margin = 48, GridSteps = 4;
constexpr TColor TargetColour = 0x000000, BeforeColour = 0x0000D0, AfterColour = 0xC06000, GridColour = 0xD8D8D8;

void DrawCurve(TCanvas& canvas, int32_t left, const std::array<double, LevelCount>& y, TColor colour) {
  auto point = [&](int v) {
    const double relative = (y[v] - y[0]) / (y[255] - y[0]);
    return std::pair{left + v * PanelSize / 255, Margin + PanelSize - int32_t(std::lround(relative * PanelSize))};
  };
  for (int32_t shift : {0, 1}) {  // two pixels wide
    canvas.SetPenColor(colour);
    canvas.MoveTo(point(0).first, point(0).second + shift);
    for (int v = 1; v < LevelCount; ++v) canvas.LineTo(point(v).first, point(v).second + shift);
  }
}

}  // namespace

bool WriteToneGraph(const std::string& path, const std::vector<TGraphPanel>& panels, std::string& error) {
  const int32_t width = int32_t(panels.size()) * (PanelSize + 2 * Margin), height = PanelSize + 2 * Margin;
  TBlockFont font;
  TRasterCanvas canvas(width, height, &font);
  canvas.SetBrushColor(White);
  canvas.FillRect({0, 0, width, height});
  TFont labels;
  labels.Height = -14;
  canvas.SetFont(labels);
  for (size_t i = 0; i < panels.size(); ++i) {
    const int32_t left = int32_t(i) * (PanelSize + 2 * Margin) + Margin;
    canvas.SetPenColor(GridColour);
    for (int step = 0; step <= GridSteps; ++step) {
      const int32_t at = step * PanelSize / GridSteps;
      canvas.MoveTo(left + at, Margin);
      canvas.LineTo(left + at, Margin + PanelSize + 1);
      canvas.MoveTo(left, Margin + at);
      canvas.LineTo(left + PanelSize + 1, Margin + at);
    }
    canvas.SetFontColor(Black);
    canvas.TextOut(left - 4, Margin + PanelSize + 8, "0");
    canvas.TextOut(left + PanelSize / 2 - 12, Margin + PanelSize + 8, "128");
    canvas.TextOut(left + PanelSize - 16, Margin + PanelSize + 8, "255");
    canvas.TextOut(left - 36, Margin - 6, "1.0");
    canvas.TextOut(left - 36, Margin + PanelSize / 2 - 6, "0.5");
    DrawCurve(canvas, left, panels[i].After.TargetY, TargetColour);
    DrawCurve(canvas, left, panels[i].Before.ShownY, BeforeColour);
    DrawCurve(canvas, left, panels[i].After.ShownY, AfterColour);
  }
  TPixelImage image{width, height, {}};
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) image.Pixels.push_back(canvas.Pixel(x, y));
  return WritePng(path, image, error);
}

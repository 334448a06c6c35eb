#include "tests/platform/qt/page_comparison.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "paint/block_font.h"
#include "paint/page_pattern.h"
#include "paint/page_state.h"
#include "platform/qt/qt_text.h"

namespace {

// Notes where the pattern writes text; draws nothing.
class TTextCells : public TCanvas {
 public:
  TTextCells(TTextRenderer& text, const TFont& font) : text_(text), font_(font) {}
  void SetPenColor(TColor) override {}
  void SetBrushColor(TColor) override {}
  void SetFontColor(TColor) override {}
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override {}
  void FillRect(const TRect&) override {}
  void Draw(int32_t, int32_t, const TBitmap&) override {}
  void TextOut(int32_t x, int32_t y, const std::string& text) override {
    const TTextImage cell = text_.RenderText(text, font_);
    Cells.push_back({x, y, x + cell.Width, y + cell.Height});
  }
  std::vector<TRect> Cells;

 private:
  TTextRenderer& text_;
  TFont font_;
};

bool Inside(const TRect& rect, int32_t x, int32_t y) {
  return x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
}

std::vector<TRect> CoveredParts(const TMainForm& form) {
  std::vector<TRect> covered;
  for (const TControl* control : form.Window.Children)
    if (control->Showing())
      covered.push_back({control->Left, control->Top, control->Left + control->Width, control->Top + control->Height});
  TQtTextRenderer windowText;
  TBlockFont rendererText;
  for (TTextRenderer* text : {static_cast<TTextRenderer*>(&windowText), static_cast<TTextRenderer*>(&rendererText)}) {
    TTextCells cells(*text, TFont{form.Window.Font.Name, form.Window.Font.Height});
    PaintPagePattern(cells, form.PixelsPerInch, form.Window.Width, nullptr, nullptr, form.PatternHeight());
    covered.insert(covered.end(), cells.Cells.begin(), cells.Cells.end());
  }
  return covered;
}

}  // namespace

TPixelImage RenderedPage(int32_t page, const std::string& pngFile, int32_t width, int32_t height,
                         int32_t pixelsPerInch) {
  // Run as another user, a test is given a copy that this user can reach.
  const char* shared = std::getenv("TONEMARK_RENDER");
  const std::string command = std::string(shared != nullptr ? shared : TONEMARK_RENDER) + " --page " +
                              std::to_string(page) + " --point " + std::to_string(CurrentPoint) + " --width " +
                              std::to_string(width) + " --height " + std::to_string(height) + " --ppi " +
                              std::to_string(pixelsPerInch) + " --out " + pngFile;
  EXPECT_EQ(std::system(command.c_str()), 0);
  TPixelImage image;
  std::string error;
  EXPECT_TRUE(ReadPng(pngFile, image, error)) << error;
  return image;
}

TPatternComparison ComparePattern(const TMainForm& form, const TPixelImage& shown, const TPixelImage& expected,
                                  const std::vector<TRect>& alsoCovered) {
  std::vector<TRect> covered = CoveredParts(form);
  covered.insert(covered.end(), alsoCovered.begin(), alsoCovered.end());
  TPatternComparison comparison;
  for (int32_t y = 0; y < form.PatternHeight(); ++y)
    for (int32_t x = 0; x < shown.Width; ++x) {
      if (std::any_of(covered.begin(), covered.end(), [&](const TRect& r) { return Inside(r, x, y); })) continue;
      ++comparison.Compared;
      const size_t i = size_t(y) * shown.Width + x;
      if (shown.Pixels[i] != expected.Pixels[i]) ++comparison.Differences;
    }
  return comparison;
}

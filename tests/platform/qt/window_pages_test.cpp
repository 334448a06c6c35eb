// Every page as the screen shows it, against the page renderer's picture of
// it: the same pixels wherever no control, panel or text lies over the pattern.
#include <cstdlib>

#include "paint/background_form.h"
#include "paint/block_font.h"
#include "paint/page_pattern.h"
#include "paint/page_state.h"
#include "platform/qt/qt_text.h"
#include "tests/platform/qt/qt_window_fixture.h"
#include "tools/screenshot/x_screen.h"

#include <X11/keysym.h>

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

class QtWindowPages : public QtWindowTest {
 protected:
  // What the model says covers the pattern: every control shown on the
  // window itself (panels hold the rest), and the cells of the pattern's own
  // text, which the window writes in its font and the renderer in its block
  // face.
  std::vector<TRect> CoveredParts() {
    std::vector<TRect> covered;
    for (const TControl* control : Form().Window.Children)
      if (control->Showing())
        covered.push_back({control->Left, control->Top, control->Left + control->Width, control->Top + control->Height});
    TQtTextRenderer windowText;
    TBlockFont rendererText;
    for (TTextRenderer* text : {static_cast<TTextRenderer*>(&windowText), static_cast<TTextRenderer*>(&rendererText)}) {
      TTextCells cells(*text, TFont{Form().Window.Font.Name, Form().Window.Font.Height});
      PaintPagePattern(cells, Form().PixelsPerInch, Form().Window.Width, nullptr, nullptr, Form().PatternHeight());
      covered.insert(covered.end(), cells.Cells.begin(), cells.Cells.end());
    }
    return covered;
  }

  TPixelImage RenderedPage(int32_t page) {
    const std::string out = program.File("page.png");
    const std::string command = std::string(TONEMARK_RENDER) + " --page " + std::to_string(page) +
                                " --point " + std::to_string(CurrentPoint) + " --out " + out;
    EXPECT_EQ(std::system(command.c_str()), 0);
    TPixelImage image;
    std::string error;
    EXPECT_TRUE(ReadPng(out, image, error)) << error;
    return image;
  }
};

TEST_F(QtWindowPages, CtrlTabWalksEveryPageAndEachShowsTheRenderersPattern) {
  StartOnSimulatedDisplays({"Rect=0,0,1920,1080", "Rect=1920,0,3200,1024"});
  for (int32_t page = 0; page < PageCount; ++page) {
    if (page > 0) {
      PressKey(XK_Tab, {XK_Control_L});
      ASSERT_TRUE(Until([&] { return CurrentPage == page; })) << page;
    }
    ShowNow();
    const TPixelImage shown = WindowPixels();
    const TPixelImage expected = RenderedPage(page);
    ASSERT_EQ(shown.Width, expected.Width);
    const std::vector<TRect> covered = CoveredParts();
    int32_t differences = 0, compared = 0;
    for (int32_t y = 0; y < Form().PatternHeight(); ++y)
      for (int32_t x = 0; x < shown.Width; ++x) {
        if (std::any_of(covered.begin(), covered.end(), [&](const TRect& r) { return Inside(r, x, y); })) continue;
        ++compared;
        const size_t i = size_t(y) * shown.Width + x;
        if (shown.Pixels[i] != expected.Pixels[i]) ++differences;
      }
    EXPECT_EQ(differences, 0) << "page " << page;
    EXPECT_GT(compared, 1920 * 500) << "page " << page;
    // The background window shows the page's colour on the other monitor.
    EXPECT_EQ(GrabScreen(x, 3199, 0, 1, 1).Pixels, std::vector<TColor>{BackgroundColor(page)}) << "page " << page;
  }
}

}  // namespace

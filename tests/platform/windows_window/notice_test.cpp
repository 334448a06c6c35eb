// The bar's notice in the real window under Wine, in the program's longest
// language: its row lies on the bar across the whole window, as high as
// DrawText wraps the reason there, and the text's last line is drawn inside
// it, above its bottom margin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "lang/language_file.h"
#include "paint/scaling.h"
#include "platform/sim/sim_displays.h"
#include "platform/windows/gdi_fonts.h"
#include "platform/windows/native_controls.h"
#include "tests/platform/windows_window/screen_picture.h"
#include "tests/platform/windows_window/tonemark_session.h"

namespace {

struct TSupportedSize {
  const char* DisplaysIni;
  int32_t Dpi;
  const char* Name;
  int32_t Lines;
};

const TSupportedSize Sizes[] = {
    {"[Monitor1]\r\nRect=0,0,1280,1024\r\nDpi=120\r\nFail=live\r\n", 120, "1280x1024-120", 1},
    {"[Monitor1]\r\nRect=0,0,1920,1080\r\nDpi=144\r\nFail=live\r\n", 144, "1920x1080-144", 1},
    // Narrow and dense: the reason takes a second line.
    {"[Monitor1]\r\nRect=0,0,800,600\r\nDpi=144\r\nFail=live\r\n", 144, "800x600-144", 2},
};

std::filesystem::path SpanishFile() {
  return std::filesystem::path(WinePath(std::getenv("TONEMARK_SOURCE_DIR"))) / "resources" / "Tonemark.languages" /
         "Spanish.lang";
}

// What the simulated display's notice says in Spanish.
std::string SpanishNotice() {
  std::ifstream in(SpanishFile(), std::ios::binary);
  std::string notice;
  ReadLanguageEntries(in, [&](const std::string& key, const std::string& text) {
    if (key == "LPreviewInWindow") notice = text;
  });
  const size_t at = notice.find("%r");
  if (at != std::string::npos) notice.replace(at, 2, SimNoLiveRampReason);
  return notice;
}

// The panel just above `below`'s top (or at the window's bottom edge) across the window.
RECT RowOn(TonemarkSession& session, LONG bottom) {
  const RECT window = session.WindowRect(session.Window());
  for (const RECT& panel : session.ChildRects(PanelClassName))
    if (panel.bottom == bottom && panel.left == window.left && panel.right == window.right) return panel;
  return RECT{};
}

// The notice's dark red over the row's silver.
bool Ink(TColor color) { return RedOf(color) > GreenOf(color) + 40; }

TEST(WindowNotice, ItsRowOnTheBarHoldsEveryLineOfTheReason) {
  const std::string shots = WinePath(std::getenv("TONEMARK_SCREENSHOTS")) + "\\";
  std::filesystem::create_directories(shots);
  TGdiFonts fonts;
  for (const TSupportedSize& size : Sizes) {
    TonemarkSession session(size.DisplaysIni);
    std::filesystem::copy_file(SpanishFile(), session.ProgramFile("Tonemark.languages\\Spanish.lang"));
    WriteBytes(session.ProgramFile("Tonemark.settings"), "[Settings]\r\nLanguage=Spanish\r\n");
    ASSERT_TRUE(session.Start()) << size.Name;
    const RECT window = session.WindowRect(session.Window());
    RECT bar{}, row{};
    ASSERT_TRUE(WaitUntil([&] {
      bar = RowOn(session, window.bottom);
      row = RowOn(session, bar.top);
      return row.bottom > row.top;
    }, PageTimeoutMs)) << size.Name << ": no row on the bar";

    const int32_t inset = Scale(5, size.Dpi), margin = Scale(3, size.Dpi);
    const TControlFont font{"Tahoma", Scale(-11, size.Dpi)};
    const int32_t lineHeight = fonts.TextExtent(font, "Ag").Height;
    const TTextExtent text = fonts.WrappedTextExtent(font, SpanishNotice(), row.right - row.left - 2 * inset);
    EXPECT_EQ(text.Height, size.Lines * lineHeight) << size.Name;
    EXPECT_EQ(row.bottom - row.top, text.Height + 2 * margin) << size.Name;

    int32_t inkTop = -1, inkBottom = -1, inkRight = -1;
    ASSERT_TRUE(WaitUntil([&] {
      const TPicture shown = CaptureScreen(row);
      for (int32_t y = 0; y < shown.Height; ++y)
        for (int32_t x = 0; x < shown.Width; ++x)
          if (Ink(shown.Pixel(x, y))) {
            if (inkTop < 0) inkTop = y;
            inkBottom = y;
            inkRight = std::max(inkRight, x);
          }
      return inkTop >= 0;
    }, PageTimeoutMs)) << size.Name << ": no text in the row";
    EXPECT_GE(inkTop, margin) << size.Name;
    EXPECT_GE(inkBottom, margin + (text.Height / lineHeight - 1) * lineHeight) << size.Name << ": a line is missing";
    EXPECT_LT(inkBottom, row.bottom - row.top - margin) << size.Name;
    EXPECT_LT(inkRight, row.right - row.left - inset) << size.Name;
    EXPECT_TRUE(WritePng(shots + "notice-" + size.Name + ".png", CaptureScreen(window)));
  }
}

}  // namespace

// The preview inside the real window under Wine, on a simulated display that
// takes no live ramp (Fail=live): every free pixel of every page is the
// renderer's reviewed picture mapped through the ramp that the session asked
// the display to load, and LUT Off shows the picture as it is.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "ramp/curve_file.h"
#include "tests/platform/sim/preview_pixels.h"
#include "tests/platform/windows_window/model_window.h"
#include "tests/platform/windows_window/screen_picture.h"
#include "tests/platform/windows_window/tonemark_session.h"

namespace {

constexpr const char* LiveRefusingDisplay = "[Monitor1]\r\nRect=0,0,1920,1080\r\nFail=live\r\n";
constexpr int PageCount = 13, GradientPage = 11;
// Left out beside the model's controls: the captions over the squares of the
// Black Point and White Point pages (Tahoma here, the renderer's block font
// there), and the curve graph's lines, which the preview leaves as they are
// (its curves are the edited ones, the renderer's those of the zero record).
constexpr TRect SquareCaptions{520, 468, 1420, 488};
constexpr TRect GraphLines{832, 8, 832 + 257, 8 + 256};

std::string PageName(int page) { return (page < 10 ? "page0" : "page") + std::to_string(page); }

bool Shows(TonemarkSession& session, const TPicture& expected, const std::vector<TRect>& leftOut,
           std::string& difference) {
  const RECT area = session.WindowRect(session.Window());
  return WaitUntil([&] { return (difference = DifferenceOutside(expected, CaptureScreen(area), leftOut)).empty(); },
                   PageTimeoutMs);
}

TEST(WindowPreview, EveryPageShowsTheRenderersPictureThroughTheEditedRampAndLutOffShowsItAsItIs) {
  const std::string golden = WinePath(std::getenv("TONEMARK_SOURCE_DIR")) + "\\tests\\paint\\golden\\";
  const std::string shots = WinePath(std::getenv("TONEMARK_SCREENSHOTS")) + "\\";
  TModelWindow model(LiveRefusingDisplay);
  TonemarkSession session(LiveRefusingDisplay);
  TRampCurve curve;
  curve.Black = 9;
  curve.Gamma = 20;
  curve.BalanceR = -25;
  WriteBytes(session.ProgramFile("Tonemark1.lut"), CurveFileText(curve, "\\\\.\\DISPLAY1"));
  std::filesystem::create_directories(shots);
  ASSERT_TRUE(session.Start());
  const RECT area = session.WindowRect(session.Window());
  ASSERT_TRUE(WaitUntil([&] { return LastRefusedRamp(session.DisplaysLog(), 1).size() == 768; }));
  const std::vector<uint32_t> ramp = LastRefusedRamp(session.DisplaysLog(), 1);
  ASSERT_NE(ramp[10], 10u * 257);

  TPicture picture;
  std::string difference;
  for (int page = 0; page < PageCount; ++page) {
    if (page > 0) session.Keys({VK_CONTROL, VK_TAB});
    ASSERT_TRUE(ReadPng(golden + PageName(page) + "-1920x1080-96.png", picture)) << page;
    std::vector<TRect> leftOut = model.Covered(page);
    leftOut.push_back(GraphLines);
    if (page == 1 || page == 2) leftOut.push_back(SquareCaptions);
    if (page == 9) PointBackTo127(session, HighlightsPoint);
    if (page == 10) PointBackTo127(session, ShadowsPoint);
    EXPECT_TRUE(Shows(session, MappedThroughRamp(picture, ramp), leftOut, difference)) << PageName(page) << ": " << difference;
    EXPECT_TRUE(WritePng(shots + "preview-" + PageName(page) + ".png", CaptureScreen(area)));
  }

  session.Keys({VK_CONTROL, VK_SHIFT, VK_TAB});
  ASSERT_TRUE(ReadPng(golden + PageName(GradientPage) + "-1920x1080-96.png", picture));
  std::vector<TRect> leftOut = model.Covered(GradientPage);
  leftOut.push_back(GraphLines);
  ASSERT_TRUE(Shows(session, MappedThroughRamp(picture, ramp), leftOut, difference)) << difference;
  for (HWND button : session.Children("Button")) {
    char text[64] = {};
    SendMessageA(button, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    if (std::string(text) != "LUT Off") continue;
    const RECT rect = session.WindowRect(button);
    session.Click((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  }
  EXPECT_TRUE(Shows(session, picture, leftOut, difference)) << "LUT Off: " << difference;
  EXPECT_TRUE(WritePng(shots + "preview-lut-off.png", CaptureScreen(area)));
}

}  // namespace

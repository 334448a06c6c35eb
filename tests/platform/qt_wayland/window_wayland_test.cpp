// The real Qt calibration window as a native Wayland window inside the
// private headless sway of with_sway.sh (outputs HEADLESS-1 and HEADLESS-2,
// 1920 x 1080 side by side), on simulated displays named after the outputs.
// What each output shows comes from grim; keys are real ones from wtype's
// virtual keyboard. (sway's own "seat - cursor" clicks reach no client here:
// a seat without a pointer device offers clients no pointer.)
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QScreen>
#include <atomic>
#include <filesystem>
#include <sstream>
#include <thread>

#include "lang/multilang.h"
#include "paint/background_form.h"
#include "paint/page_state.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/wayland_outputs.h"
#include "platform/sim/sim_displays.h"
#include "ramp/display_discovery.h"
#include "ramp/no_displays.h"
#include "shell/command_line.h"
#include "shell/data_folders.h"
#include "shell/settings_file.h"
#include "tests/platform/linux_shell/xdg_environment.h"
#include "tests/platform/qt/page_comparison.h"

namespace {

constexpr qint64 PatienceMs = 5000;
constexpr TColor Silver = 0xC0C0C0;
const std::string TwoOutputs = "[Monitor1]\nRect=0,0,1920,1080\nDeviceName=HEADLESS-1\n"
                               "[Monitor2]\nRect=1920,0,3840,1080\nDeviceName=HEADLESS-2\n";

class QtWindowOnSway : public ::testing::Test {
 protected:
  QtWindowOnSway() {
    QtApplication();
    CommandLineArgs = {program.File("tonemark")};
    CurrentPoint = InitialPoint;
    CurrentPage = 0;
    CurrentStandard = 0;
    TextTable.clear();
    LanguageList.clear();
    ReferenceImagePath = program.File("no-picture.jpg");
    const std::filesystem::path languages = program.Path() / "Tonemark.languages";
    std::filesystem::create_directory(languages);
    std::filesystem::copy_file(std::string(std::getenv("TONEMARK_LANGUAGES")) + "/English.lang",
                               languages / "English.lang");
    CurrentLanguage = "English";
    LoadLanguage(CurrentLanguage, LanguagesFolderName, ProductSubFolder, ProductSubFolder);
  }
  ~QtWindowOnSway() override {
    if (window && !window->Closed()) window->Form().Close();
    window.reset();
    ReleaseDisplays();
    SetDisplaysPort(noDisplays);
  }

  void Start(const std::string& displaysIni) {
    WriteBytes((sim.Path() / "displays.ini").string(), displaysIni);
    environment.Set("TONEMARK_SIM", sim.Path().string());
    displays = std::make_unique<TSimDisplays>(sim.Path(), false);
    SetDisplaysPort(*displays);
    EnumerateDisplays();
    ASSERT_GT(DisplayCount, 0);
    window = std::make_unique<TQtMainWindow>(nullptr, DisplaysPort().MonitorDpi(Displays[0].Monitor));
    window->Start();
    // Shown once its output shows the bar; keys that come earlier go nowhere.
    ASSERT_TRUE(UntilShown(OutputOfDisplay(0)->name().toStdString(), 0, outputHeight - 1, Silver));
  }

  TMainForm& Form() { return window->Form(); }

  bool Until(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
      if (timer.elapsed() > PatienceMs) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  // What `output` shows now.
  TPixelImage Shot(const std::string& output) {
    QCoreApplication::processEvents();
    const std::string file = program.File("shot.png");
    EXPECT_EQ(std::system(("grim -o " + output + " " + file).c_str()), 0);
    TPixelImage image;
    std::string error;
    EXPECT_TRUE(ReadPng(file, image, error)) << error;
    return image;
  }
  static TColor Pixel(const TPixelImage& image, int32_t x, int32_t y) {
    return image.Pixels.at(size_t(y) * image.Width + x);
  }
  // Waits until `output` shows `color` at (x, y): the compositor has the
  // window's new frame.
  bool UntilShown(const std::string& output, int32_t x, int32_t y, TColor color) {
    return Until([&] {
      const TPixelImage shot = Shot(output);
      return shot.Width > x && shot.Height > y && Pixel(shot, x, y) == color;
    });
  }

  // The window handles the keys while they come, as for a user.
  void Keys(const std::string& wtypeArguments) {
    ASSERT_TRUE(Until([&] { return QApplication::activeWindow() == window.get(); }));
    std::atomic<int> status = -1;
    std::thread wtype([&] { status = std::system(("wtype " + wtypeArguments).c_str()); });
    Until([&] { return status != -1; });
    wtype.join();
    ASSERT_EQ(status, 0);
  }

  // The window covers `output` whole, the bar's last row in view, and the
  // pattern as the renderer draws the page.
  void ExpectPageOn(const std::string& output) {
    ASSERT_TRUE(UntilShown(output, 0, outputHeight - 1, Silver)) << output;
    const TPixelImage shown = Shot(output);
    ASSERT_EQ(shown.Width, outputWidth);
    ASSERT_EQ(shown.Height, outputHeight);
    for (int32_t x = 0; x < shown.Width; ++x) ASSERT_EQ(Pixel(shown, x, outputHeight - 1), Silver) << x;
    const TPixelImage expected =
        RenderedPage(CurrentPage, program.File("page.png"), outputWidth, outputHeight, Form().PixelsPerInch);
    const TPatternComparison comparison = ComparePattern(Form(), shown, expected);
    EXPECT_EQ(comparison.Differences, 0) << output << " page " << CurrentPage;
    // 500 of every 1080 rows' worth of pixels.
    EXPECT_GT(comparison.Compared, outputWidth * (outputHeight * 500 / 1080));
  }

  // In pixels, as grim captures them.
  int32_t outputWidth = 1920, outputHeight = 1080;
  XdgEnvironment environment;
  TempFolder sim;
  TempFolder program;
  std::unique_ptr<TDisplaysPort> displays;
  TNoDisplays noDisplays;
  std::unique_ptr<TQtMainWindow> window;
};

TEST_F(QtWindowOnSway, FullscreenOnItsDisplaysOutputWithTheBackgroundOnTheOther) {
  Start(TwoOutputs);
  ASSERT_EQ(QGuiApplication::platformName(), "wayland");
  ExpectPageOn("HEADLESS-1");
  EXPECT_EQ(Pixel(Shot("HEADLESS-2"), 1919, 0), BackgroundColor(0));

  // Ctrl+Tab twice: the White Point page, whose background is white.
  Keys("-M ctrl -k Tab -k Tab -m ctrl");
  ASSERT_TRUE(Until([&] { return CurrentPage == 2; }));
  ExpectPageOn("HEADLESS-1");
  EXPECT_TRUE(UntilShown("HEADLESS-2", 1919, 0, BackgroundColor(2)));
}

TEST_F(QtWindowOnSway, TheDisplayListMovesTheWindowToTheOtherOutput) {
  Start(TwoOutputs);
  Keys("-M ctrl -k Tab -k Tab -m ctrl");
  ASSERT_TRUE(Until([&] { return CurrentPage == 2; }));
  window->WidgetOf(Form().DisplayComboBox)->setFocus();
  Keys("-k Down");
  ASSERT_TRUE(Until([&] { return Form().DisplayIndex == 1; }));
  ExpectPageOn("HEADLESS-2");
  // The background has taken the output the window left.
  EXPECT_TRUE(UntilShown("HEADLESS-1", 0, 1079, BackgroundColor(2)));
}

TEST_F(QtWindowOnSway, OutputsAreFoundByConnectorNameAndTheirDpiByScale) {
  Start("[Monitor1]\nDeviceName=HEADLESS-2\n[Monitor2]\nDeviceName=DP-7\n");
  EXPECT_EQ(OutputOfDisplay(0)->name(), "HEADLESS-2");
  EXPECT_EQ(OutputOfDisplay(1), QGuiApplication::screens().first());  // no output of that name

  ASSERT_EQ(std::system("swaymsg -q output HEADLESS-2 scale 2"), 0);
  ASSERT_TRUE(Until([&] { return OutputOfDisplay(0)->devicePixelRatio() == 2; }));
  EXPECT_EQ(OutputDpi(*OutputOfDisplay(0)), 192);
  EXPECT_EQ(OutputDpi(*QGuiApplication::screens().first()), 96);
  ASSERT_EQ(std::system("swaymsg -q output HEADLESS-2 scale 1"), 0);
  ASSERT_TRUE(Until([&] { return OutputOfDisplay(0)->devicePixelRatio() == 1; }));
}

// Run alone, inside a sway whose HEADLESS-1 is a 3840 x 2160 output at scale
// 2 from the start (ctest's platform_qt_wayland_scale_test): Qt's own scaling
// of the window is taken out, and the window's DPI scales it instead.
TEST_F(QtWindowOnSway, AtScale2OneWindowPixelIsOneOutputPixel) {
  outputWidth = 3840;
  outputHeight = 2160;
  Start("[Monitor1]\nRect=0,0,3840,2160\nDpi=192\nDeviceName=HEADLESS-1\n");
  EXPECT_EQ(OutputDpi(*OutputOfDisplay(0)), 192);
  EXPECT_EQ(window->devicePixelRatio(), 1);
  ExpectPageOn("HEADLESS-1");
  EXPECT_EQ(Form().PixelsPerInch, 192);
}

}  // namespace

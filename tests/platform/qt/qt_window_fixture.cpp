#include "tests/platform/qt/qt_window_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTabBar>
#include <filesystem>
#include <thread>

#include "lang/multilang.h"
#include "paint/page_state.h"
#include "platform/linux/randr_displays.h"
#include "platform/qt/qt_application.h"
#include "ramp/display_discovery.h"
#include "ramp/records.h"
#include "shell/command_line.h"
#include "shell/data_folders.h"
#include "shell/settings_file.h"
#include "tools/screenshot/x_screen.h"

// Xlib's macros clash with Qt's names: it comes after every Qt header.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

constexpr qint64 PatienceMs = 5000;

Display* QtDisplay() { return qApp->nativeInterface<QNativeInterface::QX11Application>()->display(); }

}  // namespace

QtWindowTest::QtWindowTest() {
  const std::string runtime = environment.temp.Folder() + "runtime";
  std::filesystem::create_directory(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  environment.Set("XDG_RUNTIME_DIR", runtime);
  QtApplication();
  x = XOpenDisplay(nullptr);
  CommandLineArgs = {program.File("tonemark")};
  CurrentPoint = InitialPoint;
  CurrentPage = 0;
  CurrentStandard = 0;
  TextTable.clear();
  LanguageList.clear();
  ReferenceImagePath = program.File("no-picture.jpg");
  // The program's own English texts beside it, as in an installed copy.
  const std::filesystem::path languages = program.Path() / "Tonemark.languages";
  std::filesystem::create_directory(languages);
  std::filesystem::copy_file(std::string(std::getenv("TONEMARK_SOURCE_DIR")) +
                                 "/resources/Tonemark.languages/English.lang",
                             languages / "English.lang");
  CurrentLanguage = "English";
  LoadLanguage(CurrentLanguage, LanguagesFolderName, ProductSubFolder, ProductSubFolder);
}

QtWindowTest::~QtWindowTest() {
  if (window && !window->Closed()) window->Form().Close();
  window.reset();
  ReleaseDisplays();
  SetDisplaysPort(noDisplays);
  if (x != nullptr) XCloseDisplay(x);
}

void QtWindowTest::StartOnSimulatedDisplays(const std::vector<std::string>& monitors) {
  DescribeSimulatedDisplays(monitors);
  displays = std::make_unique<TSimDisplays>(sim.Path(), false);
  StartWindow();
}

void QtWindowTest::DescribeSimulatedDisplays(const std::vector<std::string>& monitors) {
  std::string ini;
  for (size_t i = 0; i < monitors.size(); ++i)
    ini += "[Monitor" + std::to_string(i + 1) + "]\n" + monitors[i] + "\n";
  WriteBytes(SimFile("displays.ini"), ini);
  // As in tonemark-window's simulated runs, messages go to standard error
  // (the messages port's default) instead of a box.
  environment.Set("TONEMARK_SIM", sim.Path().string());
}

void QtWindowTest::StartOnRandr(const char* displayName) {
  environment.Set("TONEMARK_SIM", std::nullopt);
  displays = std::make_unique<TRandrDisplays>(displayName);
  StartWindow();
}

void QtWindowTest::StartWindow() {
  SetDisplaysPort(*displays);
  EnumerateDisplays();
  ASSERT_GT(DisplayCount, 0);
  window = std::make_unique<TQtMainWindow>(nullptr, DisplaysPort().MonitorDpi(Displays[0].Monitor));
  window->Start();
  ASSERT_TRUE(Until([&] { return window->isVisible() && QApplication::activeWindow() == window.get(); }));
  ShowNow();
}

bool QtWindowTest::Until(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > PatienceMs) return false;
    XSync(QtDisplay(), False);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// Frames reach the screen as they do for a user: only the parts that
// changed, in the event loop's own time.
void QtWindowTest::ShowNow() {
  for (int round = 0; round < 5; ++round) {
    QCoreApplication::processEvents();
    XSync(QtDisplay(), False);
  }
}

void QtWindowTest::ClickAt(int32_t left, int32_t top) {
  XTestFakeMotionEvent(x, -1, left, top, CurrentTime);
  XTestFakeButtonEvent(x, 1, True, CurrentTime);
  XTestFakeButtonEvent(x, 1, False, CurrentTime);
  XSync(x, False);
}

void QtWindowTest::Click(const TControl& control, double heightFraction) {
  const TControl& form = Form().Window;
  ClickAt(form.Left + control.WindowLeft() + control.Width / 2,
          form.Top + control.WindowTop() + static_cast<int32_t>(control.Height * heightFraction));
}

void QtWindowTest::ClickTab(int32_t tab) {
  auto* bar = static_cast<QTabBar*>(window->WidgetOf(Form().TabSet));
  const QPoint centre = bar->mapToGlobal(bar->tabRect(tab).center());
  ClickAt(centre.x(), centre.y());
  ASSERT_TRUE(Until([&] { return Form().TabSet.TabIndex == tab; }));
}

void QtWindowTest::PressKey(unsigned long keysym, std::vector<unsigned long> modifiers) {
  for (unsigned long modifier : modifiers) XTestFakeKeyEvent(x, XKeysymToKeycode(x, modifier), True, CurrentTime);
  XTestFakeKeyEvent(x, XKeysymToKeycode(x, keysym), True, CurrentTime);
  XTestFakeKeyEvent(x, XKeysymToKeycode(x, keysym), False, CurrentTime);
  for (unsigned long modifier : modifiers) XTestFakeKeyEvent(x, XKeysymToKeycode(x, modifier), False, CurrentTime);
  XSync(x, False);
}

TPixelImage QtWindowTest::WindowPixels() {
  const TControl& form = Form().Window;
  return GrabScreen(x, form.Left, form.Top, form.Width, form.Height);
}

// empty_qt_window WIDTH HEIGHT BUTTON_X BUTTON_Y: the baseline of the window
// benchmarks. A frameless Qt window over the screen (on Wayland fullscreen on
// its output), painted silver, with Qt's high-DPI scaling off as in tonemark's
// window; a click on its small button repaints the whole window in the other
// of two greys.
#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QWidget>
#include <cstdlib>

namespace {

class TEmptyWindow : public QWidget {
 public:
  TEmptyWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
  bool Dark = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Dark ? QColor(128, 128, 128) : QColor(192, 192, 192));
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return 2;
  // On Wayland, as tonemark's window there: native, fullscreen on its output.
  const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
  qputenv("QT_QPA_PLATFORM", wayland ? "wayland" : "xcb");
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  QApplication application(argc, argv);
  TEmptyWindow window;
  window.setGeometry(0, 0, std::atoi(argv[1]), std::atoi(argv[2]));
  QPushButton button(&window);
  button.setGeometry(std::atoi(argv[3]) - 8, std::atoi(argv[4]) - 5, 16, 10);
  QObject::connect(&button, &QPushButton::clicked, [&] {
    window.Dark = !window.Dark;
    window.update();
  });
  if (wayland) window.showFullScreen();
  else window.show();
  return QApplication::exec();
}

#include "platform/qt/background_window.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "paint/background_form.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/wayland_outputs.h"

TQtBackgroundWindow::TQtBackgroundWindow(std::function<void()> bringCalibrationWindowToFront, const TRect& area,
                                         const std::vector<TRect>& monitors)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      bringCalibrationWindowToFront_(std::move(bringCalibrationWindowToFront)),
      area_(area),
      monitors_(monitors) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowTitle("Tonemark background");
}

void TQtBackgroundWindow::Repaint() {
  if (!isVisible()) return;
  update(frame_.Paint(area_.Right - area_.Left, area_.Bottom - area_.Top, TFont{},
                      [&](TCanvas& canvas) { PaintBackground(canvas, area_, monitors_); }));
}

void TQtBackgroundWindow::paintEvent(QPaintEvent* event) {
  if (frame_.Empty()) Repaint();
  surface_.FaultIn(*this);
  QPainter painter(this);
  frame_.Blit(painter, event->region());
}

void TQtBackgroundWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) bringCalibrationWindowToFront_();
}

// Without a window manager a click activates nothing, so the click itself
// gives the calibration window the front.
void TQtBackgroundWindow::mousePressEvent(QMouseEvent*) { bringCalibrationWindowToFront_(); }

TQtBackground::TQtBackground(std::function<void()> bringCalibrationWindowToFront)
    : bringCalibrationWindowToFront_(std::move(bringCalibrationWindowToFront)) {}

void TQtBackground::Start(QScreen* calibrationOutput) {
  for (int32_t i = 0; i < DisplayCount; ++i) monitors_.push_back(Displays[i].MonitorInfo.Monitor);
  const TBackgroundPlacement placement = BackgroundPlacement(DisplayCount, monitors_);
  visible_ = placement.Visible;
  if (!OnWayland()) {
    const TRect& desktop = placement.Bounds;
    auto& window = *windows_.emplace_back(
        std::make_unique<TQtBackgroundWindow>(bringCalibrationWindowToFront_, desktop, monitors_));
    window.setGeometry(desktop.Left, desktop.Top, desktop.Right - desktop.Left, desktop.Bottom - desktop.Top);
    window.setVisible(visible_);
    return;
  }
  for (const TRect& monitor : monitors_)
    windows_.push_back(std::make_unique<TQtBackgroundWindow>(bringCalibrationWindowToFront_, monitor, monitors_));
  Follow(calibrationOutput);
}

void TQtBackground::Follow(QScreen* calibrationOutput) {
  std::vector<QScreen*> covered{calibrationOutput};
  for (size_t i = 0; i < windows_.size(); ++i) {
    QScreen* output = OutputOfDisplay(static_cast<int32_t>(i));
    // Displays that no output names share the first output.
    if (!visible_ || std::find(covered.begin(), covered.end(), output) != covered.end()) {
      windows_[i]->hide();
      continue;
    }
    covered.push_back(output);
    ShowFullScreenOn(*windows_[i], output);
  }
}

void TQtBackground::Repaint() {
  for (auto& window : windows_) window->Repaint();
}

void TQtBackground::Hide() {
  visible_ = false;
  for (auto& window : windows_) window->hide();
}

#include "platform/qt/background_window.h"

#include <QPaintEvent>
#include <QPainter>

#include "paint/background_form.h"

TQtBackgroundWindow::TQtBackgroundWindow(std::function<void()> bringCalibrationWindowToFront)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      bringCalibrationWindowToFront_(std::move(bringCalibrationWindowToFront)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setWindowTitle("Tonemark background");
}

void TQtBackgroundWindow::Start() {
  for (int32_t i = 0; i < DisplayCount; ++i) monitors_.push_back(Displays[i].MonitorInfo.Monitor);
  const TBackgroundPlacement placement = BackgroundPlacement(DisplayCount, monitors_);
  desktop_ = placement.Bounds;
  setGeometry(desktop_.Left, desktop_.Top, desktop_.Right - desktop_.Left, desktop_.Bottom - desktop_.Top);
  setVisible(placement.Visible);
}

void TQtBackgroundWindow::Repaint() {
  if (!isVisible()) return;
  update(frame_.Paint(width(), height(), TFont{},
                      [&](TCanvas& canvas) { PaintBackground(canvas, desktop_, monitors_); }));
}

void TQtBackgroundWindow::paintEvent(QPaintEvent* event) {
  if (frame_.Empty()) Repaint();
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

// The background window in Qt: frameless over the whole virtual desktop,
// below the calibration window, painted with the page's colour; when the
// user activates it, it hands the focus back to the calibration window.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "platform/qt/qt_frame.h"
#include "ramp/records.h"
#include "ui/main_view.h"

class TQtBackgroundWindow final : public QWidget, public TBackgroundView {
 public:
  explicit TQtBackgroundWindow(std::function<void()> bringCalibrationWindowToFront);
  // Places the window over the desktop of the displays found, and shows it
  // when there is more than one.
  void Start();

  void Repaint() override;
  void Hide() override { hide(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::function<void()> bringCalibrationWindowToFront_;
  std::vector<TRect> monitors_;
  TRect desktop_;
  TQtFrame frame_{nullptr};
};

// The background behind the calibration window in Qt: frameless windows
// painted with the page's colour; when the user activates one, it hands the
// focus back to the calibration window. On X11 one window lies over the whole
// virtual desktop, below the calibration window. Wayland lets no client place
// a window, so there each display has its own, fullscreen on its output, and
// the calibration window's output shows none.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/qt/fresh_surface.h"
#include "platform/qt/qt_frame.h"
#include "ramp/records.h"
#include "ui/main_view.h"

class QScreen;

// One window over `area` of the desktop.
class TQtBackgroundWindow final : public QWidget {
 public:
  TQtBackgroundWindow(std::function<void()> bringCalibrationWindowToFront, const TRect& area,
                      const std::vector<TRect>& monitors);
  const TRect& Area() const { return area_; }
  void Repaint();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  std::function<void()> bringCalibrationWindowToFront_;
  TRect area_;
  const std::vector<TRect>& monitors_;
  TQtFrame frame_{nullptr};
  TFreshSurface surface_;
};

class TQtBackground final : public TBackgroundView {
 public:
  explicit TQtBackground(std::function<void()> bringCalibrationWindowToFront);
  // Makes the windows for the displays found, shown when there is more than
  // one; on Wayland `calibrationOutput` is the calibration window's output.
  void Start(QScreen* calibrationOutput);
  // Wayland: the calibration window has gone to `calibrationOutput`.
  void Follow(QScreen* calibrationOutput);

  void Repaint() override;
  void Hide() override;

 private:
  std::function<void()> bringCalibrationWindowToFront_;
  std::vector<TRect> monitors_;
  bool visible_ = false;
  std::vector<std::unique_ptr<TQtBackgroundWindow>> windows_;
};

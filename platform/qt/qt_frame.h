// One frame of a window's client area: a raster canvas whose pixel memory a
// QImage shows as it is (0x00BBGGRR is RGBX byte order), so a frame reaches
// the window with one drawImage and no copy.
#pragma once

#include <QImage>
#include <QRegion>
#include <memory>

#include "paint/raster_canvas.h"

class QPainter;

class TQtFrame {
 public:
  explicit TQtFrame(TTextRenderer* text) : text_(text) {}
  // The canvas of a width x height frame, made anew only when the size changes.
  TRasterCanvas& Canvas(int32_t width, int32_t height);
  // Copies the frame's pixels under `region` to the painter's device.
  void Blit(QPainter& painter, const QRegion& region) const;

 private:
  TTextRenderer* text_;
  std::unique_ptr<TRasterCanvas> canvas_;
  QImage image_;
};

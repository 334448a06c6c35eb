// A window's client area as a raster canvas whose pixel memory a QImage shows
// as it is (0x00BBGGRR is RGBX byte order): a frame reaches the window with
// a drawImage and no copy, and only where it changed the last frame's pixels.
#pragma once

#include <QImage>
#include <QRegion>
#include <functional>
#include <memory>

#include "paint/raster_canvas.h"

class QPainter;

class TQtFrame {
 public:
  explicit TQtFrame(TTextRenderer* text) : text_(text) {}
  // Paints a width x height frame over the last one, text in `font`; returns
  // where its pixels changed (all of them after a change of size).
  QRegion Paint(int32_t width, int32_t height, const TFont& font, const std::function<void(TCanvas&)>& paint);
  bool Empty() const { return !canvas_; }
  // Copies the frame's pixels under `region` to the painter's device.
  void Blit(QPainter& painter, const QRegion& region) const;

 private:
  TTextRenderer* text_;
  std::unique_ptr<TRasterCanvas> canvas_;
  QImage image_;
};

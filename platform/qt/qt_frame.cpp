#include "platform/qt/qt_frame.h"

#include <QPainter>

#include "platform/qt/damage_canvas.h"

QRegion TQtFrame::Paint(int32_t width, int32_t height, const TFont& font,
                        const std::function<void(TCanvas&)>& paint) {
  const bool resized = !canvas_ || canvas_->Width() != width || canvas_->Height() != height;
  if (resized) {
    canvas_ = std::make_unique<TRasterCanvas>(width, height, text_);
    const auto* pixels = reinterpret_cast<const uchar*>(canvas_->Pixels().data());
    image_ = QImage(pixels, width, height, width * 4, QImage::Format_RGBX8888);
  }
  canvas_->SetFont(font);
  TDamageCanvas damage(*canvas_, text_);
  paint(damage);
  return resized ? QRegion(0, 0, width, height) : damage.TakeDamage();
}

void TQtFrame::Blit(QPainter& painter, const QRegion& region) const {
  if (image_.isNull()) return;
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (const QRect& rect : region) painter.drawImage(rect, image_, rect);
}

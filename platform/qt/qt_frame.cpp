#include "platform/qt/qt_frame.h"

#include <QPainter>

TRasterCanvas& TQtFrame::Canvas(int32_t width, int32_t height) {
  if (!canvas_ || canvas_->Width() != width || canvas_->Height() != height) {
    canvas_ = std::make_unique<TRasterCanvas>(width, height, text_);
    const auto* pixels = reinterpret_cast<const uchar*>(canvas_->Pixels().data());
    image_ = QImage(pixels, canvas_->Width(), canvas_->Height(), canvas_->Width() * 4, QImage::Format_RGBX8888);
  }
  return *canvas_;
}

void TQtFrame::Blit(QPainter& painter, const QRegion& region) const {
  if (image_.isNull()) return;
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (const QRect& rect : region) painter.drawImage(rect, image_, rect);
}

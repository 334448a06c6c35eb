#include "platform/qt/qt_frame.h"

#include <QPainter>


QRegion TQtFrame::Paint(int32_t width, int32_t height, const TFont& font,
                        const std::function<void(TCanvas&)>& paint) {
  const bool resized = !canvas_ || canvas_->Width() != width || canvas_->Height() != height;
  if (resized) {
    canvas_ = std::make_unique<TRasterCanvas>(width, height, text_, TPixelLayout::Xrgb);
    const auto* pixels = reinterpret_cast<const uchar*>(canvas_->Pixels().data());
    image_ = QImage(pixels, width, height, width * 4, QImage::Format_RGB32);
    history_ = TFrameHistory{true, Black, TRowSpans(width, height)};  // a new canvas is black
  }
  canvas_->SetFont(font);
  TDamageCanvas damage(*canvas_, text_, history_);
  paint(damage);
  return resized ? QRegion(0, 0, width, height) : damage.Damage();
}

// Where the frame holds its background colour, a fill writes the same pixels
// as a copy without reading the frame's.
void TQtFrame::Blit(QPainter& painter, const QRegion& region) const {
  if (image_.isNull()) return;
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  const QRegion drawn = history_.Known ? region.intersected(history_.Drawn.Bands()) : region;
  const QColor background = QColor::fromRgb(canvas_->PixelValue(history_.Background));
  for (const QRect& rect : region.subtracted(drawn)) painter.fillRect(rect, background);
  for (const QRect& rect : drawn) painter.drawImage(rect, image_, rect);
}

#include "platform/qt/qt_text.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "platform/qt/qt_terms.h"

namespace {

// Enough for every label of every page at two sizes.
constexpr size_t MaxRenderedTexts = 64;
// Every caption of every language that the window shows, several times over.
constexpr size_t MaxMeasuredTexts = 4096;
// Room for any number of wrapped lines below the first.
constexpr int UnboundedHeight = 1 << 24;

TTextImage Render(const std::string& text, const TFont& font) {
  const QFont qfont = ToQFont(font.Name, font.Height);
  const QFontMetrics metrics(qfont);
  const QString shown = ToQString(text);
  TTextImage image;
  image.Width = metrics.horizontalAdvance(shown);
  image.Height = metrics.height();
  if (image.Width <= 0 || image.Height <= 0) return image;
  QImage glyphs(image.Width, image.Height, QImage::Format_Alpha8);
  glyphs.fill(Qt::transparent);
  QPainter painter(&glyphs);
  painter.setFont(qfont);
  painter.setPen(Qt::black);
  painter.drawText(0, metrics.ascent(), shown);
  painter.end();
  image.Coverage.resize(size_t(image.Width) * image.Height);
  for (int32_t y = 0; y < image.Height; ++y) {
    const uchar* row = glyphs.constScanLine(y);
    std::copy(row, row + image.Width, image.Coverage.begin() + size_t(y) * image.Width);
  }
  return image;
}

}  // namespace

TTextImage TQtTextRenderer::RenderText(const std::string& text, const TFont& font) {
  const auto key = std::make_tuple(text, font.Name, font.Height);
  const auto found = rendered_.find(key);
  if (found != rendered_.end()) return found->second;
  if (rendered_.size() >= MaxRenderedTexts) rendered_.clear();
  return rendered_[key] = Render(text, font);
}

// Laying out asks for the same captions again and again (47 times for 15
// texts at the start): each answer is kept.
TTextExtent MeasureText(const TControlFont& font, const std::string& text) {
  static std::map<std::tuple<std::string, std::string, int32_t, bool, bool>, TTextExtent> measured;
  const auto key = std::make_tuple(text, font.Name, font.Height, font.Bold, font.Underline);
  const auto found = measured.find(key);
  if (found != measured.end()) return found->second;
  if (measured.size() >= MaxMeasuredTexts) measured.clear();
  const QFontMetrics metrics(ToQFont(font));
  return measured[key] = {metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

// The notice is laid out again with every ramp its display refuses: the
// answer for its caption is kept.
TTextExtent MeasureWrappedText(const TControlFont& font, const std::string& text, int32_t width) {
  static std::map<std::tuple<std::string, std::string, int32_t, bool, bool, int32_t>, TTextExtent> measured;
  const auto key = std::make_tuple(text, font.Name, font.Height, font.Bold, font.Underline, width);
  const auto found = measured.find(key);
  if (found != measured.end()) return found->second;
  if (measured.size() >= MaxMeasuredTexts) measured.clear();
  // QLabel draws plain text through the same layout, with these flags.
  const QRect bounds = QFontMetrics(ToQFont(font)).boundingRect(QRect(0, 0, std::max(width, 1), UnboundedHeight),
                                                                Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                                                ToQString(text));
  return measured[key] = {bounds.width(), bounds.height()};
}

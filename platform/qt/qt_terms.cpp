#include "platform/qt/qt_terms.h"

#include <cstdlib>

#include "platform/linux/shown_text.h"

QString ToQString(const std::string& bytes) { return QString::fromStdString(ShownText(bytes)); }

QFont ToQFont(const std::string& name, int32_t height, bool bold, bool underline) {
  QFont font(ToQString(name));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, std::abs(height)));
  font.setBold(bold);
  font.setUnderline(underline);
  return font;
}

QFont ToQFont(const TControlFont& font) { return ToQFont(font.Name, font.Height, font.Bold, font.Underline); }

std::optional<QColor> ToQColor(TColor color) {
  if (color & SystemColorFlag) return std::nullopt;
  return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

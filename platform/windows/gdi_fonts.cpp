#include "platform/windows/gdi_fonts.h"

#include <algorithm>

TGdiFonts::TGdiFonts() : dc_(CreateCompatibleDC(nullptr)) {}

TGdiFonts::~TGdiFonts() {
  DeleteDC(dc_);
  for (const auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT TGdiFonts::Font(const std::string& name, int32_t height, bool bold, bool underline) {
  const auto key = std::make_tuple(name, height, bold, underline);
  const auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  LOGFONTA description{};
  description.lfHeight = height;
  description.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  description.lfUnderline = underline;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfQuality = ANTIALIASED_QUALITY;
  lstrcpynA(description.lfFaceName, name.c_str(), LF_FACESIZE);
  const HFONT font = CreateFontIndirectA(&description);
  fonts_.emplace(key, font);
  return font;
}

TTextExtent TGdiFonts::TextExtent(const TControlFont& font, const std::string& text) {
  SelectObject(dc_, Font(font));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc_, &metrics);
  SIZE size{};
  GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  return {size.cx, metrics.tmHeight};
}

TTextExtent TGdiFonts::WrappedTextExtent(const TControlFont& font, const std::string& text, int32_t width) {
  SelectObject(dc_, Font(font));
  RECT bounds{0, 0, width, 0};
  DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &bounds, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

TTextImage TGdiFonts::RenderText(const std::string& text, const TFont& font) {
  const TTextExtent extent = TextExtent(TControlFont{font.Name, font.Height}, text);
  TTextImage image;
  if (extent.Width <= 0 || extent.Height <= 0) return image;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = extent.Width;
  info.bmiHeader.biHeight = -extent.Height;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return image;
  const HGDIOBJ previous = SelectObject(dc_, bitmap);
  SelectObject(dc_, Font(font.Name, font.Height));
  SetTextColor(dc_, RGB(255, 255, 255));
  SetBkColor(dc_, RGB(0, 0, 0));
  SetBkMode(dc_, OPAQUE);
  TextOutA(dc_, 0, 0, text.c_str(), static_cast<int>(text.size()));
  GdiFlush();
  image.Width = extent.Width;
  image.Height = extent.Height;
  image.Coverage.resize(size_t(extent.Width) * extent.Height);
  const auto* pixels = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < image.Coverage.size(); ++i) image.Coverage[i] = uint8_t(pixels[i] >> 8);
  SelectObject(dc_, previous);
  DeleteObject(bitmap);
  return image;
}

COLORREF ResolveColor(TColor color) {
  return (color & SystemColorFlag) ? GetSysColor(static_cast<int>(color & 0xFF)) : color;
}

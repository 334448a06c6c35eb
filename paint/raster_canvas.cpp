#include "paint/raster_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <new>

TRasterCanvas::TRasterCanvas(int32_t width, int32_t height, TTextRenderer* text, TPixelLayout layout)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      layout_(layout),
      pixels_(static_cast<uint32_t*>(std::calloc(std::max(size_t(width_) * height_, size_t(1)), sizeof(uint32_t)))),
      text_(text),
      penValue_(PixelValue(pen_)),
      brushValue_(PixelValue(brush_)) {
  if (!pixels_) throw std::bad_alloc();
}

TColor TRasterCanvas::Pixel(int32_t x, int32_t y) const {
  const uint32_t value = pixels_[size_t(y) * width_ + x];
  return layout_ == TPixelLayout::Color ? value : RgbColor(value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF);
}

void TRasterCanvas::SetPenColor(TColor color) {
  pen_ = color;
  penValue_ = PixelValue(color);
}

void TRasterCanvas::SetBrushColor(TColor color) {
  brush_ = color;
  brushValue_ = PixelValue(color);
}

void TRasterCanvas::MoveTo(int32_t x, int32_t y) {
  penX_ = x;
  penY_ = y;
}

void TRasterCanvas::LineTo(int32_t x, int32_t y) {
  if (y == penY_)
    HorizontalRun(y, penX_, x);
  else if (x == penX_)
    VerticalRun(x, penY_, y);
  else
    SlopedLine(penX_, penY_, x, y);
  penX_ = x;
  penY_ = y;
}

void TRasterCanvas::HorizontalRun(int32_t y, int32_t fromX, int32_t toX) {
  if (y < 0 || y >= height_ || fromX == toX) return;
  // Drawn either way, the run covers the start and stops short of the end.
  int32_t first = fromX < toX ? fromX : toX + 1;
  int32_t last = fromX < toX ? toX - 1 : fromX;
  first = std::max(first, 0);
  last = std::min(last, width_ - 1);
  if (first > last) return;
  std::fill_n(pixels_.get() + size_t(y) * width_ + first, last - first + 1, penValue_);
}

void TRasterCanvas::VerticalRun(int32_t x, int32_t fromY, int32_t toY) {
  if (x < 0 || x >= width_ || fromY == toY) return;
  int32_t first = fromY < toY ? fromY : toY + 1;
  int32_t last = fromY < toY ? toY - 1 : fromY;
  first = std::max(first, 0);
  last = std::min(last, height_ - 1);
  uint32_t* pixel = pixels_.get() + size_t(x);
  for (int32_t row = first; row <= last; ++row) pixel[size_t(row) * width_] = penValue_;
}

// Bresenham along the major axis, one pixel per step, the end point left out.
// When the line passes exactly between two pixels, the one on the start's
// side is taken.
void TRasterCanvas::DrawVerticalLines(int32_t x, int32_t y, int32_t height,
                                     const std::vector<TColor>& colors) {
  if (colors.empty()) return;
  const int32_t count = int32_t(colors.size());
  if (height != 0) {
    const int32_t firstRow = std::max(height > 0 ? y : y + height + 1, 0);
    const int32_t lastRow = std::min(height > 0 ? y + height - 1 : y, height_ - 1);
    const int32_t firstColumn = std::max(x, 0), lastColumn = std::min(x + count - 1, width_ - 1);
    if (firstColumn <= lastColumn) {
      std::vector<uint32_t> values(colors.begin() + (firstColumn - x), colors.begin() + (lastColumn - x) + 1);
      for (uint32_t& value : values) value = PixelValue(value);
      for (int32_t row = firstRow; row <= lastRow; ++row)
        std::copy(values.begin(), values.end(), pixels_.get() + size_t(row) * width_ + firstColumn);
    }
  }
  SetPenColor(colors.back());
  penX_ = x + count - 1;
  penY_ = y + height;
}

void TRasterCanvas::SlopedLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const int64_t dx = std::abs(int64_t(x2) - x1), dy = std::abs(int64_t(y2) - y1);
  const int32_t stepX = x2 > x1 ? 1 : -1, stepY = y2 > y1 ? 1 : -1;
  const bool xMajor = dx >= dy;
  const int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
  int64_t error = 2 * minor - major;
  int32_t x = x1, y = y1;
  for (int64_t step = 0; step < major; ++step) {
    Plot(x, y, pen_);
    if (error > 0) {
      if (xMajor) y += stepY; else x += stepX;
      error -= 2 * major;
    }
    error += 2 * minor;
    if (xMajor) x += stepX; else y += stepY;
  }
}

void TRasterCanvas::Plot(int32_t x, int32_t y, TColor color) {
  if (x >= 0 && x < width_ && y >= 0 && y < height_) pixels_[size_t(y) * width_ + x] = PixelValue(color);
}

void TRasterCanvas::FillRect(const TRect& rect) {
  const int32_t left = std::max(rect.Left, 0), right = std::min(rect.Right, width_);
  const int32_t top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, height_);
  if (left >= right) return;
  for (int32_t row = top; row < bottom; ++row)
    std::fill_n(pixels_.get() + size_t(row) * width_ + left, right - left, brushValue_);
}

namespace {

int32_t BlendChannel(int32_t background, int32_t foreground, int32_t coverage) {
  return (background * (255 - coverage) + foreground * coverage + 127) / 255;
}

TColor Blend(TColor background, TColor foreground, int32_t coverage) {
  return RgbColor(BlendChannel(RedOf(background), RedOf(foreground), coverage),
                  BlendChannel(GreenOf(background), GreenOf(foreground), coverage),
                  BlendChannel(BlueOf(background), BlueOf(foreground), coverage));
}

}  // namespace

void TRasterCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  if (!text_) return;
  const TTextImage image = text_->RenderText(text, font_);
  for (int32_t row = 0; row < image.Height; ++row)
    for (int32_t column = 0; column < image.Width; ++column) {
      const int32_t coverage = image.Coverage[size_t(row) * image.Width + column];
      Plot(x + column, y + row, Blend(brush_, fontColor_, coverage));
    }
}

void TRasterCanvas::Draw(int32_t x, int32_t y, const TBitmap& bitmap) {
  const int32_t bytesPerPixel = bitmap.BitsPerPixel / 8;
  if ((bitmap.BitsPerPixel != 24 && bitmap.BitsPerPixel != 8) ||
      bitmap.Bits.size() < size_t(bitmap.Width) * bitmap.Height * bytesPerPixel)
    return;
  for (int32_t row = 0; row < bitmap.Height; ++row)
    for (int32_t column = 0; column < bitmap.Width; ++column) {
      const uint8_t* source = &bitmap.Bits[(size_t(row) * bitmap.Width + column) * bytesPerPixel];
      const TColor color =
          bytesPerPixel == 3 ? RgbColor(source[0], source[1], source[2]) : Grey(source[0]);
      Plot(x + column, y + row, color);
    }
}

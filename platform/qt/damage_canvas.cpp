#include "platform/qt/damage_canvas.h"

#include <algorithm>
#include <cstring>

TDamageCanvas::TDamageCanvas(TRasterCanvas& canvas, TTextRenderer* text)
    : canvas_(canvas), text_(text), rowLeft_(canvas.Height(), canvas.Width()), rowRight_(canvas.Height(), -1) {}

void TDamageCanvas::Damage(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, canvas_.Width());
  bottom = std::min(bottom, canvas_.Height());
  for (int32_t row = top; row < bottom && left < right; ++row) {
    rowLeft_[row] = std::min(rowLeft_[row], left);
    rowRight_[row] = std::max(rowRight_[row], right - 1);
  }
}

QRegion TDamageCanvas::TakeDamage() {
  QRegion damage;
  const int32_t height = canvas_.Height();
  int32_t bandTop = -1, left = canvas_.Width(), right = -1;
  for (int32_t row = 0; row <= height; ++row) {
    if (row < height && rowLeft_[row] <= rowRight_[row]) {
      if (bandTop < 0) bandTop = row;
      left = std::min(left, rowLeft_[row]);
      right = std::max(right, rowRight_[row]);
    } else if (bandTop >= 0) {
      damage += QRect(left, bandTop, right - left + 1, row - bandTop);
      bandTop = -1;
      left = canvas_.Width();
      right = -1;
    }
  }
  std::fill(rowLeft_.begin(), rowLeft_.end(), canvas_.Width());
  std::fill(rowRight_.begin(), rowRight_.end(), -1);
  return damage;
}

void TDamageCanvas::SetPenColor(TColor color) { canvas_.SetPenColor(color); }

void TDamageCanvas::SetBrushColor(TColor color) {
  brush_ = color;
  canvas_.SetBrushColor(color);
}

void TDamageCanvas::MoveTo(int32_t x, int32_t y) {
  penX_ = x;
  penY_ = y;
  canvas_.MoveTo(x, y);
}

void TDamageCanvas::LineTo(int32_t x, int32_t y) {
  Damage(std::min(penX_, x), std::min(penY_, y), std::max(penX_, x) + 1, std::max(penY_, y) + 1);
  penX_ = x;
  penY_ = y;
  canvas_.LineTo(x, y);
}

void TDamageCanvas::FillRect(const TRect& rect) {
  const int32_t width = canvas_.Width();
  const int32_t left = std::max(rect.Left, 0), right = std::min(rect.Right, width);
  const int32_t top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, canvas_.Height());
  if (left >= right) return;
  // Most rows hold the colour already; memcmp tells that fastest.
  brushRow_.assign(size_t(right - left), brush_);
  for (int32_t row = top; row < bottom; ++row) {
    const TColor* pixels = canvas_.Pixels().data() + size_t(row) * width;
    if (std::memcmp(pixels + left, brushRow_.data(), brushRow_.size() * sizeof(TColor)) == 0) continue;
    int32_t first = left, last = right - 1;
    while (first <= last && pixels[first] == brush_) ++first;
    while (last >= first && pixels[last] == brush_) --last;
    if (first > last) continue;
    canvas_.FillRect(TRect{first, row, last + 1, row + 1});
    Damage(first, row, last + 1, row + 1);
  }
}

void TDamageCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  if (text_) {
    const TTextImage cell = text_->RenderText(text, canvas_.Font());
    Damage(x, y, x + cell.Width, y + cell.Height);
  }
  canvas_.TextOut(x, y, text);
}

void TDamageCanvas::Draw(int32_t x, int32_t y, const TBitmap& bitmap) {
  Damage(x, y, x + bitmap.Width, y + bitmap.Height);
  canvas_.Draw(x, y, bitmap);
}

void TDamageCanvas::DrawVerticalLines(int32_t x, int32_t y, int32_t height, const std::vector<TColor>& colors) {
  if (colors.empty()) return;
  const int32_t count = static_cast<int32_t>(colors.size());
  Damage(x, height > 0 ? y : y + height + 1, x + count, height > 0 ? y + height : y + 1);
  penX_ = x + count - 1;
  penY_ = y + height;
  canvas_.DrawVerticalLines(x, y, height, colors);
}

#include "platform/qt/damage_canvas.h"

#include <algorithm>
#include <cstring>

TRowSpans::TRowSpans(int32_t width, int32_t height)
    : width_(width), height_(height), left_(height, width), right_(height, -1) {}

void TRowSpans::Add(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  left = std::max(left, 0);
  right = std::min(right, width_);
  for (int32_t row = std::max(top, 0); row < std::min(bottom, height_) && left < right; ++row) {
    left_[row] = std::min(left_[row], left);
    right_[row] = std::max(right_[row], right - 1);
  }
}

void TRowSpans::Clear() {
  std::fill(left_.begin(), left_.end(), width_);
  std::fill(right_.begin(), right_.end(), -1);
}

QRegion TRowSpans::Bands() const {
  QRegion bands;
  int32_t bandTop = -1, left = width_, right = -1;
  for (int32_t row = 0; row <= height_; ++row) {
    if (row < height_ && !Empty(row)) {
      if (bandTop < 0) bandTop = row;
      left = std::min(left, left_[row]);
      right = std::max(right, right_[row]);
    } else if (bandTop >= 0) {
      bands += QRect(left, bandTop, right - left + 1, row - bandTop);
      bandTop = -1;
      left = width_;
      right = -1;
    }
  }
  return bands;
}

TDamageCanvas::TDamageCanvas(TRasterCanvas& canvas, TTextRenderer* text, TFrameHistory& history)
    : canvas_(canvas), text_(text), history_(history), damage_(canvas.Width(), canvas.Height()) {}

void TDamageCanvas::Drawn(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  damage_.Add(left, top, right, bottom);
  history_.Drawn.Add(left, top, right, bottom);
}

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
  Drawn(std::min(penX_, x), std::min(penY_, y), std::max(penX_, x) + 1, std::max(penY_, y) + 1);
  penX_ = x;
  penY_ = y;
  canvas_.LineTo(x, y);
}

bool TDamageCanvas::FillRow(int32_t row, int32_t left, int32_t right) {
  const uint32_t* pixels = canvas_.Pixels().data() + size_t(row) * canvas_.Width();
  // Most rows hold the colour already; memcmp tells that fastest.
  if (std::memcmp(pixels + left, brushRow_.data(), size_t(right - left) * sizeof(uint32_t)) == 0) return false;
  int32_t first = left, last = right - 1;
  while (pixels[first] == brushRow_[0]) ++first;
  while (pixels[last] == brushRow_[0]) --last;
  canvas_.FillRect(TRect{first, row, last + 1, row + 1});
  damage_.Add(first, row, last + 1, row + 1);
  return true;
}

// Where the last frame left its background of this colour, nothing changes.
void TDamageCanvas::FillBackground() {
  const bool sameBackground = history_.Known && history_.Background == brush_;
  for (int32_t row = 0; row < canvas_.Height(); ++row)
    if (!sameBackground) FillRow(row, 0, canvas_.Width());
    else if (!history_.Drawn.Empty(row)) FillRow(row, history_.Drawn.Left(row), history_.Drawn.Right(row) + 1);
  history_.Known = true;
  history_.Background = brush_;
  history_.Drawn.Clear();
}

void TDamageCanvas::FillRect(const TRect& rect) {
  const int32_t left = std::max(rect.Left, 0), right = std::min(rect.Right, canvas_.Width());
  const int32_t top = std::max(rect.Top, 0), bottom = std::min(rect.Bottom, canvas_.Height());
  if (left >= right || top >= bottom) return;
  brushRow_.assign(size_t(right - left), canvas_.PixelValue(brush_));
  if (left == 0 && top == 0 && right == canvas_.Width() && bottom == canvas_.Height()) return FillBackground();
  for (int32_t row = top; row < bottom; ++row) FillRow(row, left, right);
  history_.Drawn.Add(left, top, right, bottom);
}

void TDamageCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  if (text_) {
    const TTextImage cell = text_->RenderText(text, canvas_.Font());
    Drawn(x, y, x + cell.Width, y + cell.Height);
  }
  canvas_.TextOut(x, y, text);
}

void TDamageCanvas::Draw(int32_t x, int32_t y, const TBitmap& bitmap) {
  Drawn(x, y, x + bitmap.Width, y + bitmap.Height);
  canvas_.Draw(x, y, bitmap);
}

void TDamageCanvas::DrawVerticalLines(int32_t x, int32_t y, int32_t height, const std::vector<TColor>& colors) {
  if (colors.empty()) return;
  const int32_t count = static_cast<int32_t>(colors.size());
  Drawn(x, height > 0 ? y : y + height + 1, x + count, height > 0 ? y + height : y + 1);
  penX_ = x + count - 1;
  penY_ = y + height;
  canvas_.DrawVerticalLines(x, y, height, colors);
}

#include "resources/generate/picture.h"

#include <algorithm>
#include <cmath>

namespace {

// The noise added before rounding stays below half a step.
constexpr float DitherAmplitude = 0.49f;

float Clamp255(float v) { return std::clamp(v, 0.0f, 255.0f); }

// A reproducible value in [0, 1) for a pixel and channel.
float Hash01(uint32_t seed, uint32_t x, uint32_t y, uint32_t channel) {
  uint32_t h = seed ^ (x * 0x9E3779B1u) ^ (y * 0x85EBCA77u) ^ (channel * 0xC2B2AE3Du);
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return float(h >> 8) / float(1u << 24);
}

float DistanceToSegment(float x, float y, TPoint a, TPoint b) {
  const float dx = b.X - a.X, dy = b.Y - a.Y;
  const float length2 = dx * dx + dy * dy;
  float t = length2 > 0 ? ((x - a.X) * dx + (y - a.Y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0f, 1.0f);
  const float px = a.X + t * dx - x, py = a.Y + t * dy - y;
  return std::sqrt(px * px + py * py);
}

}  // namespace

TRgb Mix(TRgb a, TRgb b, float t) {
  return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

TRgb Grey(float level) { return {level, level, level}; }

float SrgbToLinear(float encoded) {
  const float v = std::clamp(encoded / 255.0f, 0.0f, 1.0f);
  return v <= 0.04045f ? v / 12.92f : std::pow((v + 0.055f) / 1.055f, 2.4f);
}

float LinearToSrgb(float linear) {
  const float v = std::clamp(linear, 0.0f, 1.0f);
  const float encoded = v <= 0.0031308f ? v * 12.92f : 1.055f * std::pow(v, 1 / 2.4f) - 0.055f;
  return encoded * 255.0f;
}

float EdgeCoverage(float distance) { return std::clamp(distance + 0.5f, 0.0f, 1.0f); }

float InsideRoundedRect(float x, float y, float left, float top, float right, float bottom,
                        float radius) {
  const float cx = (left + right) / 2, cy = (top + bottom) / 2;
  const float qx = std::abs(x - cx) - ((right - left) / 2 - radius);
  const float qy = std::abs(y - cy) - ((bottom - top) / 2 - radius);
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  const float inside = std::min(std::max(qx, qy), 0.0f);
  return radius - outside - inside;
}

TPicture::TPicture(int width, int height, TRgb fill)
    : PictureWidth(width), PictureHeight(height), Pixels(size_t(width) * height, fill) {}

void TPicture::Blend(int x, int y, TRgb colour, float coverage) {
  if (x < 0 || y < 0 || x >= PictureWidth || y >= PictureHeight || coverage <= 0) return;
  TRgb& pixel = Pixels[Index(x, y)];
  pixel = Mix(pixel, colour, std::min(coverage, 1.0f));
}

void TPicture::Add(int x, int y, TRgb colour, float coverage) {
  if (x < 0 || y < 0 || x >= PictureWidth || y >= PictureHeight || coverage <= 0) return;
  TRgb& pixel = Pixels[Index(x, y)];
  pixel = {Clamp255(pixel.R + colour.R * coverage), Clamp255(pixel.G + colour.G * coverage),
           Clamp255(pixel.B + colour.B * coverage)};
}

void TPicture::FillRect(int left, int top, int right, int bottom, TRgb colour) {
  ShadeRect(left, top, right, bottom, [colour](float, float) { return colour; });
}

void TPicture::ShadeRect(int left, int top, int right, int bottom,
                         const std::function<TRgb(float x, float y)>& shade) {
  for (int y = std::max(top, 0); y < std::min(bottom, PictureHeight); ++y)
    for (int x = std::max(left, 0); x < std::min(right, PictureWidth); ++x)
      Pixels[Index(x, y)] = shade(x + 0.5f, y + 0.5f);
}

void TPicture::FillRoundedRect(float left, float top, float right, float bottom, float radius,
                               const std::function<TRgb(float x, float y)>& shade) {
  for (int y = int(std::floor(top)); y < int(std::ceil(bottom)); ++y)
    for (int x = int(std::floor(left)); x < int(std::ceil(right)); ++x) {
      const float cx = x + 0.5f, cy = y + 0.5f;
      Blend(x, y, shade(cx, cy),
            EdgeCoverage(InsideRoundedRect(cx, cy, left, top, right, bottom, radius)));
    }
}

void TPicture::FillDisc(TPoint centre, float radius,
                        const std::function<TRgb(float x, float y)>& shade) {
  for (int y = int(std::floor(centre.Y - radius)); y <= int(std::ceil(centre.Y + radius)); ++y)
    for (int x = int(std::floor(centre.X - radius)); x <= int(std::ceil(centre.X + radius)); ++x) {
      const float cx = x + 0.5f, cy = y + 0.5f;
      const float inside = radius - std::hypot(cx - centre.X, cy - centre.Y);
      if (inside > -0.5f) Blend(x, y, shade(cx, cy), EdgeCoverage(inside));
    }
}

void TPicture::StrokePolyline(const std::vector<TPoint>& points, float width, TRgb colour,
                              bool additive) {
  if (points.empty()) return;
  float minX = points[0].X, maxX = minX, minY = points[0].Y, maxY = minY;
  for (const TPoint& p : points) {
    minX = std::min(minX, p.X), maxX = std::max(maxX, p.X);
    minY = std::min(minY, p.Y), maxY = std::max(maxY, p.Y);
  }
  const float reach = width / 2 + 1;
  for (int y = int(std::floor(minY - reach)); y <= int(std::ceil(maxY + reach)); ++y)
    for (int x = int(std::floor(minX - reach)); x <= int(std::ceil(maxX + reach)); ++x) {
      const float cx = x + 0.5f, cy = y + 0.5f;
      float nearest = DistanceToSegment(cx, cy, points[0], points[0]);
      for (size_t i = 1; i < points.size(); ++i)
        nearest = std::min(nearest, DistanceToSegment(cx, cy, points[i - 1], points[i]));
      const float coverage = EdgeCoverage(width / 2 - nearest);
      if (additive)
        Add(x, y, colour, coverage);
      else
        Blend(x, y, colour, coverage);
    }
}

std::vector<uint8_t> TPicture::Quantise(uint32_t seed) const {
  std::vector<uint8_t> bytes(Pixels.size() * 3);
  for (int y = 0; y < PictureHeight; ++y)
    for (int x = 0; x < PictureWidth; ++x) {
      const TRgb p = Pixels[Index(x, y)];
      const float channels[3] = {p.R, p.G, p.B};
      for (uint32_t c = 0; c < 3; ++c) {
        const float noise = (Hash01(seed, x, y, c) * 2 - 1) * DitherAmplitude;
        bytes[Index(x, y) * 3 + c] = uint8_t(std::lround(Clamp255(channels[c] + noise)));
      }
    }
  return bytes;
}

// A floating-point RGB picture to paint the artwork and the reference
// photograph on, with the few anti-aliased shapes they are made of.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Colour values are sRGB-encoded, 0..255; blending happens in that space,
// as an image editor's "normal" layer mode does.
struct TRgb {
  float R = 0, G = 0, B = 0;
};

TRgb Mix(TRgb a, TRgb b, float t);
TRgb Grey(float level);
// Conversions between encoded values 0..255 and linear light 0..1.
float SrgbToLinear(float encoded);
float LinearToSrgb(float linear);

struct TPoint {
  float X = 0, Y = 0;
};

class TPicture {
 public:
  TPicture(int width, int height, TRgb fill);

  int Width() const { return PictureWidth; }
  int Height() const { return PictureHeight; }
  TRgb At(int x, int y) const { return Pixels[Index(x, y)]; }
  void Set(int x, int y, TRgb colour) { Pixels[Index(x, y)] = colour; }
  // Lays `colour` over the pixel with the given coverage 0..1.
  void Blend(int x, int y, TRgb colour, float coverage);
  // Adds light: each channel grows by colour × coverage, capped at 255.
  void Add(int x, int y, TRgb colour, float coverage);

  // Whole pixels from (left, top) up to, not including, (right, bottom).
  void FillRect(int left, int top, int right, int bottom, TRgb colour);
  // Calls `shade` for every pixel centre inside the rectangle and stores its colour.
  void ShadeRect(int left, int top, int right, int bottom,
                 const std::function<TRgb(float x, float y)>& shade);
  // Anti-aliased shapes; a shape's colour may depend on the position.
  void FillRoundedRect(float left, float top, float right, float bottom, float radius,
                       const std::function<TRgb(float x, float y)>& shade);
  void FillDisc(TPoint centre, float radius, const std::function<TRgb(float x, float y)>& shade);
  // A round-capped line along the points, `width` pixels wide.
  void StrokePolyline(const std::vector<TPoint>& points, float width, TRgb colour,
                      bool additive = false);

  // Bytes R, G, B per pixel, rows from the top. Values are rounded after a
  // little noise (less than half a step), so exact levels stay exact while
  // smooth gradients do not band.
  std::vector<uint8_t> Quantise(uint32_t seed) const;

 private:
  size_t Index(int x, int y) const { return size_t(y) * PictureWidth + x; }

  int PictureWidth;
  int PictureHeight;
  std::vector<TRgb> Pixels;
};

// Coverage of a pixel whose centre lies `distance` pixels inside an edge
// (negative: outside): a one-pixel ramp across the edge.
float EdgeCoverage(float distance);
// Signed distance from (x, y) to a rounded rectangle's outline, positive inside.
float InsideRoundedRect(float x, float y, float left, float top, float right, float bottom,
                        float radius);

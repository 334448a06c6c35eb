#include "resources/generate/reference_photo.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int MarginX = 40;
constexpr int ContentRight = PhotoWidth - MarginX;

// Rows of the scene, from the top.
constexpr int SphereRow = 132, SphereRadius = 104;
constexpr int SkinRampTop = 262, SkinRampHeight = 30;
constexpr int GreyRampTop = 428, GreyRampHeight = 46;
constexpr int WedgeTop = GreyRampTop + GreyRampHeight, WedgeHeight = 46, WedgeSteps = 17;
constexpr int StepPanelTop = 548, StepPanelHeight = 136;
constexpr int SaturatedTop = 706, SaturatedHeight = 100;
constexpr int PastelTop = 820, PastelHeight = 96;
constexpr int DetailTop = 934, DetailHeight = 64;

const TRgb SkinTones[] = {{241, 206, 184}, {226, 178, 148}, {196, 138, 104},
                          {158, 104, 72},  {96, 62, 44}};

const int NearBlack[] = {1, 2, 3, 4, 5, 6, 8, 10, 12, 14, 16, 20};
const int NearWhite[] = {235, 237, 240, 243, 245, 247, 249, 250, 251, 252, 253, 254};

const TRgb Saturated[] = {{255, 0, 0},   {255, 128, 0},  {255, 255, 0}, {128, 224, 0},
                          {0, 255, 0},   {0, 160, 96},   {0, 255, 255}, {0, 120, 230},
                          {0, 0, 255},   {120, 40, 200}, {255, 0, 255}, {230, 30, 110}};
const TRgb Pastel[] = {{250, 200, 210}, {252, 214, 180}, {250, 240, 180}, {214, 238, 184},
                       {196, 240, 206}, {190, 234, 232}, {190, 214, 250}, {214, 202, 246},
                       {236, 206, 240}, {236, 226, 204}, {206, 220, 192}, {212, 226, 240}};

TRgb Backdrop(float x, float y) {
  // A warm studio wall, lit from above, darker toward the corners.
  const TRgb top{122, 118, 112}, bottom{62, 60, 58};
  const float dx = (x - PhotoWidth / 2.0f) / PhotoWidth, dy = (y - PhotoHeight / 3.0f) / PhotoHeight;
  const float vignette = 1 - 0.45f * (dx * dx + dy * dy);
  const TRgb wall = Mix(top, bottom, y / PhotoHeight);
  return {wall.R * vignette, wall.G * vignette, wall.B * vignette};
}

TRgb ScaleLight(TRgb colour, float factor) {
  return {LinearToSrgb(SrgbToLinear(colour.R) * factor), LinearToSrgb(SrgbToLinear(colour.G) * factor),
          LinearToSrgb(SrgbToLinear(colour.B) * factor)};
}

// The soft shadow a sphere on a shelf casts on the wall behind it, down and
// to the right of the light.
void PaintContactShadow(TPicture& picture, TPoint centre, float radius) {
  const float reach = radius * 1.9f;
  for (int y = int(centre.Y); y < int(centre.Y + reach); ++y)
    for (int x = int(centre.X - reach); x < int(centre.X + reach); ++x) {
      const float ex = (x + 0.5f - centre.X - radius * 0.25f) / (radius * 1.0f);
      const float ey = (y + 0.5f - centre.Y - radius * 0.95f) / (radius * 0.28f);
      picture.Blend(x, y, Grey(20), 0.55f * std::exp(-2.2f * (ex * ex + ey * ey)));
    }
}

// A matt sphere with a soft sheen, lit from the upper left and the front.
void PaintSphere(TPicture& picture, TPoint centre, float radius, TRgb albedo) {
  const float lx = -0.45f, ly = -0.55f, lz = 0.70f;
  picture.FillDisc(centre, radius, [=](float x, float y) {
    const float nx = (x - centre.X) / radius, ny = (y - centre.Y) / radius;
    const float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
    const float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
    // Reflection of the light about the normal, seen from the front.
    const float rz = 2 * (nx * lx + ny * ly + nz * lz) * nz - lz;
    const float sheen = 0.22f * std::pow(std::max(0.0f, rz), 24.0f);
    const float light = 0.08f + 1.05f * diffuse;
    auto channel = [&](float encoded) {
      return LinearToSrgb(SrgbToLinear(encoded) * light + sheen);
    };
    return TRgb{channel(albedo.R), channel(albedo.G), channel(albedo.B)};
  });
}

// Alternating black and white spokes, finer toward the centre.
void PaintStar(TPicture& picture, TPoint centre, float radius, int spokes) {
  picture.FillDisc(centre, radius + 4, [](float, float) { return Grey(128); });
  constexpr int Samples = 4;
  for (int y = int(centre.Y - radius); y <= int(centre.Y + radius); ++y)
    for (int x = int(centre.X - radius); x <= int(centre.X + radius); ++x) {
      float sum = 0;
      int inside = 0;
      for (int sy = 0; sy < Samples; ++sy)
        for (int sx = 0; sx < Samples; ++sx) {
          const float px = x + (sx + 0.5f) / Samples - centre.X;
          const float py = y + (sy + 0.5f) / Samples - centre.Y;
          if (std::hypot(px, py) > radius) continue;
          ++inside;
          const float turn = std::atan2(py, px) / (2 * std::numbers::pi_v<float>) + 0.5f;
          sum += int(turn * spokes * 2) % 2 == 0 ? 250 : 10;
        }
      if (inside > 0)
        picture.Blend(x, y, Grey(sum / inside), float(inside) / (Samples * Samples));
    }
}

void PaintSkinRamps(TPicture& picture) {
  for (int band = 0; band < 5; ++band) {
    const int top = SkinRampTop + band * SkinRampHeight;
    picture.ShadeRect(MarginX, top, ContentRight, top + SkinRampHeight, [band](float x, float) {
      const float exposure = 1.2f * (x - MarginX) / (ContentRight - MarginX);
      return ScaleLight(SkinTones[band], exposure);
    });
  }
}

void PaintGreyRamp(TPicture& picture) {
  picture.ShadeRect(MarginX, GreyRampTop, ContentRight, GreyRampTop + GreyRampHeight,
                    [](float x, float) { return Grey(255 * (x - MarginX) / (ContentRight - MarginX)); });
}

// Alternating fine patterns, each in a square cell.
void PaintDetail(TPicture& picture) {
  const int cell = DetailHeight;
  const int bottom = DetailTop + DetailHeight;
  const auto lines = [](int period, bool vertical) {
    return [=](float x, float y) {
      const int at = int(vertical ? x : y);
      return Grey(at / period % 2 == 0 ? 20 : 235);
    };
  };
  int left = MarginX;
  for (int period : {1, 2, 3}) {
    picture.ShadeRect(left, DetailTop, left + cell, bottom, lines(period, true));
    picture.ShadeRect(left + cell + 8, DetailTop, left + 2 * cell + 8, bottom, lines(period, false));
    left += 2 * cell + 24;
  }
  picture.ShadeRect(left, DetailTop, left + cell, bottom, [](float x, float y) {
    return Grey((int(x) + int(y)) % 2 == 0 ? 20 : 235);
  });
  left += cell + 24;
  // Hair over skin: thin dark strands across a light skin tone.
  const int hairRight = left + 360;
  picture.FillRect(left, DetailTop, hairRight, bottom, SkinTones[1]);
  for (int strand = 0; strand < 28; ++strand) {
    std::vector<TPoint> points;
    for (int x = left; x <= hairRight; x += 3) {
      const float phase = strand * 0.7f + (x - left) * (0.018f + strand * 0.0006f);
      points.push_back({float(x), DetailTop + 4 + strand * 2.0f + 5 * std::sin(phase)});
    }
    picture.StrokePolyline(points, 0.7f + (strand % 3) * 0.25f, TRgb{58, 40, 30});
  }
  left = hairRight + 24;
  // A sweep from coarse to the finest detail a pixel grid holds, at full
  // contrast above and at low contrast below.
  const int sweepWidth = ContentRight - left;
  const int middle = DetailTop + DetailHeight / 2;
  picture.ShadeRect(left, DetailTop, ContentRight, bottom, [=](float x, float y) {
    const float t = (x - left) / sweepWidth;
    const float phase = std::numbers::pi_v<float> * sweepWidth * t * t / 2;
    const float wave = std::cos(phase);
    return y < middle ? Grey(128 + 115 * wave) : Grey(128 + 12 * wave);
  });
}

}  // namespace

std::vector<TPatch> PhotoPatches() {
  std::vector<TPatch> patches;
  const int wedgeStep = (ContentRight - MarginX) / WedgeSteps;
  for (int i = 0; i < WedgeSteps; ++i) {
    const int left = MarginX + i * wedgeStep;
    patches.push_back({"grey wedge " + std::to_string(i), left, WedgeTop, left + wedgeStep,
                       WedgeTop + WedgeHeight, Grey(float(std::min(255, 16 * i)))});
  }
  const int panelWidth = (ContentRight - MarginX) / 2 - 20;
  const int whiteLeft = ContentRight - panelWidth;
  patches.push_back({"near-black surround", MarginX, StepPanelTop, MarginX + panelWidth,
                     StepPanelTop + StepPanelHeight, Grey(0)});
  patches.push_back({"near-white surround", whiteLeft, StepPanelTop, ContentRight,
                     StepPanelTop + StepPanelHeight, Grey(255)});
  const int stepPitch = (panelWidth - 12) / 12;
  for (int i = 0; i < 12; ++i) {
    const int top = StepPanelTop + 18, bottom = StepPanelTop + StepPanelHeight - 18;
    const int offset = 12 + i * stepPitch;
    patches.push_back({"near black " + std::to_string(NearBlack[i]), MarginX + offset, top,
                       MarginX + offset + stepPitch - 12, bottom, Grey(float(NearBlack[i]))});
    patches.push_back({"near white " + std::to_string(NearWhite[i]), whiteLeft + offset, top,
                       whiteLeft + offset + stepPitch - 12, bottom, Grey(float(NearWhite[i]))});
  }
  const int patchPitch = (ContentRight - MarginX + 10) / 12;
  for (int i = 0; i < 12; ++i) {
    const int left = MarginX + i * patchPitch;
    patches.push_back({"saturated " + std::to_string(i + 1), left, SaturatedTop,
                       left + patchPitch - 10, SaturatedTop + SaturatedHeight, Saturated[i]});
    patches.push_back({"pastel " + std::to_string(i + 1), left, PastelTop, left + patchPitch - 10,
                       PastelTop + PastelHeight, Pastel[i]});
  }
  return patches;
}

TPicture PaintReferencePhoto() {
  TPicture picture(PhotoWidth, PhotoHeight, Grey(0));
  picture.ShadeRect(0, 0, PhotoWidth, PhotoHeight, Backdrop);
  const auto sphereCentre = [](int i) {
    return TPoint{MarginX + SphereRadius + 4 + i * 232.0f, float(SphereRow)};
  };
  for (int i = 0; i < 5; ++i) PaintContactShadow(picture, sphereCentre(i), SphereRadius);
  for (int i = 0; i < 5; ++i) PaintSphere(picture, sphereCentre(i), SphereRadius, SkinTones[i]);
  PaintStar(picture, {ContentRight - SphereRadius - 20.0f, float(SphereRow)}, SphereRadius, 36);
  PaintSkinRamps(picture);
  PaintGreyRamp(picture);
  for (const TPatch& patch : PhotoPatches())
    picture.FillRect(patch.Left, patch.Top, patch.Right, patch.Bottom, patch.Colour);
  PaintDetail(picture);
  return picture;
}

#include "platform/windows/windowless_paint.h"

#include <algorithm>

#include "platform/windows/wic_pictures.h"

namespace {

void PaintLabel(HDC dc, const TLabel& label, TGdiFonts& fonts) {
  RECT bounds{label.Left, label.Top, label.Left + label.Width, label.Top + label.Height};
  if (!label.Transparent) {
    SetDCBrushColor(dc, ResolveColor(label.EffectiveColor()));
    FillRect(dc, &bounds, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  }
  const TControlFont& font = label.EffectiveFont();
  SelectObject(dc, fonts.Font(font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, label.Enabled ? ResolveColor(font.Color) : GetSysColor(COLOR_GRAYTEXT));
  // A label that sizes itself is never cut; one of fixed size wraps its words.
  const UINT format = DT_NOPREFIX | (label.WordWrap ? DT_WORDBREAK : DT_SINGLELINE | DT_NOCLIP);
  DrawTextA(dc, label.Caption.c_str(), static_cast<int>(label.Caption.size()), &bounds, format);
}

void PaintImage(HDC dc, const TImage& image, TPictures& pictures) {
  const TPictures::TPicture* picture = pictures.Find(image.PictureResource);
  if (!picture) return;
  int32_t width = picture->Width, height = picture->Height;
  if (image.Stretch) {
    width = image.Width;
    height = image.Height;
    if (image.Proportional) {
      // The largest size within the image's box that keeps the picture's shape.
      const int64_t byWidth = int64_t(image.Width) * picture->Height, byHeight = int64_t(image.Height) * picture->Width;
      if (byWidth < byHeight) height = static_cast<int32_t>(byWidth / picture->Width);
      else width = static_cast<int32_t>(byHeight / picture->Height);
    }
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture->Width;
  info.bmiHeader.biHeight = -picture->Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, image.Left, image.Top, width, height, 0, 0, picture->Width, picture->Height,
                picture->Pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

const TPictures::TPicture* TPictures::Find(const std::string& resource) {
  if (resource.empty()) return nullptr;
  auto found = decoded_.find(resource);
  if (found == decoded_.end()) {
    TPicture picture;
    TBitmap bitmap;
    if (DecodeResourcePng(resource.c_str(), bitmap)) {
      picture.Width = bitmap.Width;
      picture.Height = bitmap.Height;
      picture.Pixels.resize(size_t(bitmap.Width) * bitmap.Height);
      const int32_t bytes = bitmap.BitsPerPixel / 8;
      for (size_t i = 0; i < picture.Pixels.size(); ++i) {
        const uint8_t* pixel = &bitmap.Bits[i * bytes];
        const uint8_t red = pixel[0], green = pixel[bytes == 3 ? 1 : 0], blue = pixel[bytes == 3 ? 2 : 0];
        picture.Pixels[i] = uint32_t(red) << 16 | uint32_t(green) << 8 | blue;
      }
    }
    found = decoded_.emplace(resource, std::move(picture)).first;
  }
  return found->second.Pixels.empty() ? nullptr : &found->second;
}

void PaintWindowless(HDC dc, const TControl& container, TGdiFonts& fonts, TPictures& pictures) {
  for (const TControl* child : container.Children) {
    if (!child->Visible) continue;
    if (child->Kind == TControlKind::Label) PaintLabel(dc, static_cast<const TLabel&>(*child), fonts);
    else if (child->Kind == TControlKind::Image) PaintImage(dc, static_cast<const TImage&>(*child), pictures);
  }
}

TLabel* MouseLabelAt(TControl& container, int32_t x, int32_t y) {
  // The last painted lies on top.
  for (auto child = container.Children.rbegin(); child != container.Children.rend(); ++child) {
    TControl& control = **child;
    if (control.Kind != TControlKind::Label || !control.Visible || !control.Enabled) continue;
    auto& label = static_cast<TLabel&>(control);
    const bool reacts = label.OnClick || label.Cursor != TCursor::Default;
    if (reacts && x >= label.Left && x < label.Left + label.Width && y >= label.Top && y < label.Top + label.Height)
      return &label;
  }
  return nullptr;
}

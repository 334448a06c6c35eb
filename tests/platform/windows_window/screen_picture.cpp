#include "tests/platform/windows_window/screen_picture.h"

#include <wincodec.h>

#include "platform/windows/com_scope.h"

namespace {

constexpr TColor SwapRedBlue(uint32_t color) { return (color & 0x00FF00) | (color & 0xFF) << 16 | (color >> 16 & 0xFF); }

std::wstring Wide(const std::string& text) {
  std::wstring wide(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  wide.pop_back();
  return wide;
}

bool CreateFactory(TComPtr<IWICImagingFactory>& factory) {
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    factory.OutVoid()));
}

}  // namespace

TPicture CaptureScreen(const RECT& area) {
  TPicture picture;
  picture.Width = area.right - area.left;
  picture.Height = area.bottom - area.top;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = picture.Width;
  info.bmiHeader.biHeight = -picture.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, picture.Width, picture.Height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const uint32_t*>(bits);
  picture.Pixels.resize(size_t(picture.Width) * picture.Height);
  for (size_t i = 0; i < picture.Pixels.size(); ++i) picture.Pixels[i] = SwapRedBlue(pixels[i]);
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

bool ReadPng(const std::string& path, TPicture& picture) {
  TComScope com;
  TComPtr<IWICImagingFactory> factory;
  TComPtr<IWICBitmapDecoder> decoder;
  TComPtr<IWICBitmapFrameDecode> frame;
  TComPtr<IWICFormatConverter> converter;
  UINT width = 0, height = 0;
  if (!CreateFactory(factory) ||
      FAILED(factory->CreateDecoderFromFilename(Wide(path).c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(frame->GetSize(&width, &height)) ||
      FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return false;
  std::vector<uint32_t> pixels(size_t(width) * height);
  if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(pixels.data()))))
    return false;
  picture.Width = static_cast<int32_t>(width);
  picture.Height = static_cast<int32_t>(height);
  picture.Pixels.resize(pixels.size());
  for (size_t i = 0; i < pixels.size(); ++i) picture.Pixels[i] = SwapRedBlue(pixels[i] & 0xFFFFFF);
  return true;
}

bool WritePng(const std::string& path, const TPicture& picture) {
  TComScope com;
  TComPtr<IWICImagingFactory> factory;
  TComPtr<IWICStream> stream;
  TComPtr<IWICBitmapEncoder> encoder;
  TComPtr<IWICBitmapFrameEncode> frame;
  std::vector<BYTE> rows;
  for (TColor color : picture.Pixels)
    for (int shift : {16, 8, 0}) rows.push_back(static_cast<BYTE>(color >> shift));  // blue first
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  return CreateFactory(factory) && SUCCEEDED(factory->CreateStream(stream.Out())) &&
         SUCCEEDED(stream->InitializeFromFilename(Wide(path).c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) &&
         SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(frame.Out(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(picture.Width, picture.Height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
         SUCCEEDED(frame->WritePixels(picture.Height, picture.Width * 3, static_cast<UINT>(rows.size()), rows.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

std::string DifferenceOutside(const TPicture& expected, const TPicture& actual, const std::vector<TRect>& leftOut) {
  if (expected.Width != actual.Width || expected.Height != actual.Height)
    return "size " + std::to_string(actual.Width) + "x" + std::to_string(actual.Height) + ", expected " +
           std::to_string(expected.Width) + "x" + std::to_string(expected.Height);
  size_t count = 0;
  std::string first;
  for (int32_t y = 0; y < actual.Height; ++y)
    for (int32_t x = 0; x < actual.Width; ++x) {
      bool inside = false;
      for (const TRect& rect : leftOut)
        inside = inside || (x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom);
      if (inside || actual.Pixel(x, y) == expected.Pixel(x, y)) continue;
      if (count++ == 0) {
        char text[80];
        snprintf(text, sizeof text, " first at (%d, %d): %06X, expected %06X", x, y, actual.Pixel(x, y),
                 expected.Pixel(x, y));
        first = text;
      }
    }
  return count == 0 ? "" : std::to_string(count) + " pixels differ," + first;
}

#include "platform/windows/wic_pictures.h"

#include "platform/windows/win32.h"
#include <wincodec.h>

#include <cstdint>
#include <new>
#include <vector>

#include "platform/windows/com_scope.h"

namespace {

// Larger pictures are refused rather than risk memory the process cannot
// have: 16384 x 16384 already needs 768 MB.
constexpr uint64_t MaxPixels = uint64_t(1) << 28;

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
  // The path is in the system's code page, as every path of the program.
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool read = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < MAXDWORD;
  if (read) {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD done = 0;
    read = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size();
  }
  CloseHandle(file);
  return read;
}

bool CopyFrame(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, TBitmap& bitmap) {
  UINT width = 0, height = 0;
  WICPixelFormatGUID format{};
  if (FAILED(frame->GetSize(&width, &height)) || FAILED(frame->GetPixelFormat(&format))) return false;
  if (width == 0 || height == 0 || uint64_t(width) * height > MaxPixels) return false;
  const bool grey = IsEqualGUID(format, GUID_WICPixelFormat8bppGray);
  const UINT bytesPerPixel = grey ? 1 : 3;
  TComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame, grey ? GUID_WICPixelFormat8bppGray : GUID_WICPixelFormat24bppBGR,
                                   WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom)))
    return false;
  TBitmap decoded;
  decoded.Width = static_cast<int32_t>(width);
  decoded.Height = static_cast<int32_t>(height);
  decoded.BitsPerPixel = static_cast<int32_t>(bytesPerPixel * 8);
  decoded.Bits.resize(size_t(width) * height * bytesPerPixel);
  const UINT stride = width * bytesPerPixel;
  if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(decoded.Bits.size()), decoded.Bits.data())))
    return false;
  // WIC gives blue first; the bitmap holds red first.
  if (!grey)
    for (size_t i = 0; i < decoded.Bits.size(); i += 3) std::swap(decoded.Bits[i], decoded.Bits[i + 2]);
  bitmap = std::move(decoded);
  return true;
}

bool DecodeBytes(const uint8_t* data, size_t size, const GUID& container, TBitmap& bitmap) {
  if (size == 0 || size > MAXDWORD) return false;
  TComScope com;
  TComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              factory.OutVoid())))
    return false;
  TComPtr<IWICStream> stream;
  TComPtr<IWICBitmapDecoder> decoder;
  TComPtr<IWICBitmapFrameDecode> frame;
  GUID found{};
  if (FAILED(factory->CreateStream(stream.Out())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size))) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.Out())) ||
      FAILED(decoder->GetContainerFormat(&found)) || !IsEqualGUID(found, container) ||
      FAILED(decoder->GetFrame(0, frame.Out())))
    return false;
  try {
    return CopyFrame(factory.Get(), frame.Get(), bitmap);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace

bool TWicJpegDecoder::DecodeFile(const std::string& path, TBitmap& bitmap) {
  std::vector<uint8_t> bytes;
  try {
    if (!ReadWholeFile(path, bytes)) return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
  return DecodeBytes(bytes.data(), bytes.size(), GUID_ContainerFormatJpeg, bitmap);
}

bool DecodeResourcePng(const char* name, TBitmap& bitmap) {
  const HRSRC resource = FindResourceA(nullptr, name, RT_RCDATA);
  if (!resource) return false;
  const HGLOBAL loaded = LoadResource(nullptr, resource);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return false;
  return DecodeBytes(static_cast<const uint8_t*>(data), SizeofResource(nullptr, resource), GUID_ContainerFormatPng,
                     bitmap);
}

// Pictures decoded through WIC and converted through mscms, under Wine: the
// files are made by WIC's own encoders in a temporary folder.
#include "platform/windows/win32.h"
#include <wincodec.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "paint/mini_icm.h"
#include "platform/windows/color_mscms.h"
#include "platform/windows/com_scope.h"
#include "platform/windows/wic_pictures.h"
#include "tests/temp_folder.h"

namespace {

// Writes a width x height picture in `container`, each pixel given by
// `pixel(x, y)` as blue, green, red bytes (or one grey byte).
template <typename Pixel>
bool EncodePicture(const std::string& path, const GUID& container, const GUID& format, int width, int height,
                   int bytesPerPixel, Pixel pixel) {
  TComScope com;
  TComPtr<IWICImagingFactory> factory;
  TComPtr<IWICStream> stream;
  TComPtr<IWICBitmapEncoder> encoder;
  TComPtr<IWICBitmapFrameEncode> frame;
  std::wstring widePath(path.begin(), path.end());
  std::vector<BYTE> bits;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (uint8_t byte : pixel(x, y)) bits.push_back(byte);
  WICPixelFormatGUID chosen = format;
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    factory.OutVoid())) &&
         SUCCEEDED(factory->CreateStream(stream.Out())) &&
         SUCCEEDED(stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE)) &&
         SUCCEEDED(factory->CreateEncoder(container, nullptr, encoder.Out())) &&
         SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
         SUCCEEDED(encoder->CreateNewFrame(frame.Out(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
         SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&chosen)) &&
         IsEqualGUID(chosen, format) &&
         SUCCEEDED(frame->WritePixels(height, width * bytesPerPixel, static_cast<UINT>(bits.size()), bits.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

// Red on the left half of 32 x 16, blue on the right: blocks large enough
// for JPEG to keep their colours away from the edge between them.
constexpr int Width = 32, Height = 16;
std::vector<uint8_t> RedBlue(int x, int) {
  return x < Width / 2 ? std::vector<uint8_t>{0, 0, 255} : std::vector<uint8_t>{255, 0, 0};
}

void ExpectNear(const TBitmap& bitmap, int x, int y, int red, int green, int blue) {
  const uint8_t* pixel = &bitmap.Bits[(size_t(y) * bitmap.Width + x) * 3];
  EXPECT_NEAR(pixel[0], red, 16) << x << "," << y;
  EXPECT_NEAR(pixel[1], green, 16) << x << "," << y;
  EXPECT_NEAR(pixel[2], blue, 16) << x << "," << y;
}

TEST(WicPictures, AJpegDecodesToRedFirstRowsAndAGreyOneToOneBytePerPixel) {
  TempFolder folder;
  ASSERT_TRUE(EncodePicture(folder.File("colour.jpg"), GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR, Width,
                            Height, 3, RedBlue));
  ASSERT_TRUE(EncodePicture(folder.File("grey.jpg"), GUID_ContainerFormatJpeg, GUID_WICPixelFormat8bppGray, 8, 8,
                            1, [](int, int) { return std::vector<uint8_t>{100}; }));
  TWicJpegDecoder decoder;
  TBitmap colour, grey;
  ASSERT_TRUE(decoder.DecodeFile(folder.File("colour.jpg"), colour));
  EXPECT_EQ(colour.Width, 32);
  EXPECT_EQ(colour.Height, 16);
  EXPECT_EQ(colour.BitsPerPixel, 24);
  ExpectNear(colour, 4, 8, 255, 0, 0);
  ExpectNear(colour, 27, 8, 0, 0, 255);
  ASSERT_TRUE(decoder.DecodeFile(folder.File("grey.jpg"), grey));
  EXPECT_EQ(grey.BitsPerPixel, 8);
  ASSERT_EQ(grey.Bits.size(), 64u);
  EXPECT_NEAR(grey.Bits[9], 100, 4);
}

TEST(WicPictures, AnythingButAJpegLeavesTheBitmapAsItWas) {
  TempFolder folder;
  ASSERT_TRUE(EncodePicture(folder.File("picture.png"), GUID_ContainerFormatPng, GUID_WICPixelFormat24bppBGR, Width,
                            Height, 3, RedBlue));
  ASSERT_TRUE(EncodePicture(folder.File("whole.jpg"), GUID_ContainerFormatJpeg, GUID_WICPixelFormat24bppBGR, Width,
                            Height, 3, RedBlue));
  const std::string whole = ReadBytes(folder.File("whole.jpg"));
  WriteBytes(folder.File("cut.jpg"), whole.substr(0, whole.size() / 3));
  WriteBytes(folder.File("text.jpg"), "not a picture");
  WriteBytes(folder.File("empty.jpg"), "");
  TWicJpegDecoder decoder;
  for (const char* name : {"picture.png", "cut.jpg", "text.jpg", "empty.jpg", "missing.jpg"}) {
    TBitmap bitmap;
    bitmap.Width = 3;
    bitmap.Bits = {1, 2, 3};
    EXPECT_FALSE(decoder.DecodeFile(folder.File(name), bitmap)) << name;
    EXPECT_EQ(bitmap.Width, 3) << name;
    EXPECT_EQ(bitmap.Bits, (std::vector<uint8_t>{1, 2, 3})) << name;
  }
}

class MscmsTest : public ::testing::Test {
 protected:
  void SetUp() override { DisplayColorManagement = &colors; }
  void TearDown() override {
    DisplayColorManagement = nullptr;
    if (display) DeleteDC(display);
  }
  static TBitmap Pure(int width) {
    TBitmap bitmap;
    bitmap.Width = width;
    bitmap.Height = 2;
    for (int i = 0; i < width * 2; ++i)
      for (uint8_t byte : {255, 0, 0}) bitmap.Bits.push_back(i % 2 ? byte : uint8_t(255 - byte));
    return bitmap;
  }
  TMscmsColorManagement colors;
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
};

TEST_F(MscmsTest, TheDisplaysProfileConvertsEveryRowInPlace) {
  std::string profile;
  ASSERT_TRUE(colors.GetDisplayProfile(display, profile));
  EXPECT_FALSE(profile.empty());
  // Wine gives every display its sRGB profile: sRGB in, about the same out,
  // channels in their places, on every row.
  TBitmap bitmap = Pure(5);
  ApplyDisplayProfile(bitmap, display);
  ExpectNear(bitmap, 0, 0, 0, 255, 255);
  ExpectNear(bitmap, 1, 0, 255, 0, 0);
  ExpectNear(bitmap, 4, 1, 255, 0, 0);
}

TEST_F(MscmsTest, WithoutAProfileThePictureStaysAsDecoded) {
  EXPECT_EQ(colors.OpenProfile("C:\\no such folder\\none.icm"), nullptr);
  const TBitmap decoded = Pure(3);
  TBitmap bitmap = decoded;
  ApplyDisplayProfile(bitmap, nullptr);
  EXPECT_EQ(bitmap.Bits, decoded.Bits);
}

}  // namespace

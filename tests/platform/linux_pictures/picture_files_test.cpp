#include <gtest/gtest.h>

#include <jpeglib.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/linux/embedded_pictures.h"
#include "platform/linux/picture_files.h"
#include "tests/temp_folder.h"

namespace {

// Encodes rows of `components` bytes per pixel (1: grey, 3: RGB) at quality 100.
std::string JpegBytes(int width, int height, int components, const std::vector<uint8_t>& pixels) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<uint8_t*>(pixels.data()) + info.next_scanline * width * components;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

std::vector<uint8_t> Repeated(std::vector<uint8_t> pixel, int count) {
  std::vector<uint8_t> all;
  for (int i = 0; i < count; ++i) all.insert(all.end(), pixel.begin(), pixel.end());
  return all;
}

class JpegDecoder : public ::testing::Test {
 protected:
  TempFolder temp;
  TJpegDecoder decoder;
};

TEST_F(JpegDecoder, ColourPicturesGive24BitsAndGreyOnes8) {
  WriteBytes(temp.File("colour.jpg"), JpegBytes(16, 8, 3, Repeated({200, 100, 50}, 16 * 8)));
  TBitmap colour;
  ASSERT_TRUE(decoder.DecodeFile(temp.File("colour.jpg"), colour));
  EXPECT_EQ(colour.Width, 16);
  EXPECT_EQ(colour.Height, 8);
  EXPECT_EQ(colour.BitsPerPixel, 24);
  ASSERT_EQ(colour.Bits.size(), 16u * 8 * 3);
  EXPECT_NEAR(colour.Bits[0], 200, 2);
  EXPECT_NEAR(colour.Bits[1], 100, 2);
  EXPECT_NEAR(colour.Bits[2], 50, 2);

  WriteBytes(temp.File("grey.jpg"), JpegBytes(5, 3, 1, Repeated({77}, 15)));
  TBitmap grey;
  ASSERT_TRUE(decoder.DecodeFile(temp.File("grey.jpg"), grey));
  EXPECT_EQ(grey.BitsPerPixel, 8);
  ASSERT_EQ(grey.Bits.size(), 15u);
  EXPECT_NEAR(grey.Bits[14], 77, 1);
}

TEST_F(JpegDecoder, BrokenMissingAndForeignFilesLeaveTheBitmapAlone) {
  const std::string whole = JpegBytes(64, 64, 3, Repeated({1, 2, 3}, 64 * 64));
  WriteBytes(temp.File("cut.jpg"), whole.substr(0, whole.size() / 3));
  WriteBytes(temp.File("text.jpg"), "not a picture");
  WriteBytes(temp.File("empty.jpg"), "");
  TBitmap bitmap{1, 1, 24, {9, 9, 9}};
  for (const char* name : {"cut.jpg", "text.jpg", "empty.jpg", "missing.jpg"})
    EXPECT_FALSE(decoder.DecodeFile(temp.File(name), bitmap)) << name;
  EXPECT_EQ(bitmap.Width, 1);
  EXPECT_EQ(bitmap.Bits, (std::vector<uint8_t>{9, 9, 9}));
}

TEST(DecodePng, GivesRgbOfAnyFormatAndRefusesWhatIsNoPng) {
  // A 2 x 1 grey PNG: white, then mid grey.
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 2;
  image.height = 1;
  image.format = PNG_FORMAT_GRAY;
  const uint8_t pixels[] = {255, 128};
  std::vector<uint8_t> file(1024);
  png_alloc_size_t size = file.size();
  ASSERT_TRUE(png_image_write_to_memory(&image, file.data(), &size, 0, pixels, 0, nullptr));
  TBitmap bitmap;
  ASSERT_TRUE(DecodePng(file.data(), size, bitmap));
  EXPECT_EQ(bitmap.Width, 2);
  EXPECT_EQ(bitmap.BitsPerPixel, 24);
  ASSERT_EQ(bitmap.Bits.size(), 6u);
  EXPECT_EQ(bitmap.Bits, (std::vector<uint8_t>{255, 255, 255, 128, 128, 128}));

  EXPECT_FALSE(DecodePng(file.data(), size / 2, bitmap));
  EXPECT_FALSE(DecodePng(reinterpret_cast<const uint8_t*>("nope"), 4, bitmap));
  EXPECT_EQ(bitmap.Width, 2);
}

}  // namespace

namespace {

TEST(LoadEmbeddedPicture, TheArtworkIsItsPngFilesPixels) {
  TBitmap artwork;
  ASSERT_TRUE(LoadEmbeddedPicture("heropng", artwork));
  EXPECT_EQ(artwork.Width, 512);
  EXPECT_EQ(artwork.Height, 512);
  EXPECT_EQ(artwork.Bits.size(), 512u * 512 * 3);
  std::ifstream file(TONEMARK_HEROPNG_FILE, std::ios::binary);
  const std::vector<uint8_t> png((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  TBitmap decoded;
  ASSERT_TRUE(DecodePng(png.data(), png.size(), decoded));
  EXPECT_EQ(artwork.Bits, decoded.Bits);
  EXPECT_FALSE(LoadEmbeddedPicture("HEROPNG", artwork));
}

}  // namespace

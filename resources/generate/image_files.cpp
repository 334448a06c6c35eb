#include "resources/generate/image_files.h"

#include <jpeglib.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace {

struct TFile {
  explicit TFile(const std::string& path, const char* mode) : Handle(std::fopen(path.c_str(), mode)) {
    if (Handle == nullptr) throw std::runtime_error("cannot open " + path);
  }
  ~TFile() { std::fclose(Handle); }
  std::FILE* Handle;
};

// libjpeg reports errors through a callback that must not return.
struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Return;
  char Message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
  auto* error = reinterpret_cast<TJpegError*>(info->err);
  info->err->format_message(info, error->Message);
  std::longjmp(error->Return, 1);
}

}  // namespace

void WritePng(const std::string& path, const TPixels& pixels) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = png_uint_32(pixels.Width);
  png.height = png_uint_32(pixels.Height);
  png.format = pixels.Channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&png, path.c_str(), 0, pixels.Bytes.data(), 0, nullptr))
    throw std::runtime_error("cannot write " + path + ": " + png.message);
}

TPixels ReadPng(const std::string& path) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str()))
    throw std::runtime_error("cannot read " + path + ": " + png.message);
  TPixels pixels;
  pixels.Channels = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0 ? 4 : 3;
  png.format = pixels.Channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  pixels.Width = int(png.width);
  pixels.Height = int(png.height);
  pixels.Bytes.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, pixels.Bytes.data(), 0, nullptr)) {
    png_image_free(&png);
    throw std::runtime_error("cannot decode " + path + ": " + png.message);
  }
  return pixels;
}

TPngHeader ReadPngHeader(const std::string& path) {
  // Signature (8 bytes), IHDR length and type (8), width, height (8), then
  // bit depth and colour type.
  std::ifstream in(path, std::ios::binary);
  char header[26] = {};
  if (!in.read(header, sizeof header) || std::memcmp(header, "\x89PNG\r\n\x1a\n", 8) != 0 ||
      std::memcmp(header + 12, "IHDR", 4) != 0)
    throw std::runtime_error(path + " is not a PNG file");
  return {static_cast<unsigned char>(header[24]), static_cast<unsigned char>(header[25])};
}

void WriteJpeg(const std::string& path, const TPixels& pixels, int quality) {
  TFile file(path, "wb");
  jpeg_compress_struct info;
  TJpegError error;
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = JpegErrorExit;
  if (setjmp(error.Return)) {
    jpeg_destroy_compress(&info);
    throw std::runtime_error("cannot write " + path + ": " + error.Message);
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file.Handle);
  info.image_width = JDIMENSION(pixels.Width);
  info.image_height = JDIMENSION(pixels.Height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  // The exact integer transform: the same bytes on every processor.
  info.dct_method = JDCT_ISLOW;
  info.optimize_coding = TRUE;
  info.density_unit = 1;  // dots per inch
  info.X_density = info.Y_density = 96;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&pixels.Bytes[size_t(info.next_scanline) * pixels.Width * 3]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
}

TPixels ReadJpeg(const std::string& path) {
  TFile file(path, "rb");
  jpeg_decompress_struct info;
  TJpegError error;
  info.err = jpeg_std_error(&error.Manager);
  error.Manager.error_exit = JpegErrorExit;
  if (setjmp(error.Return)) {
    jpeg_destroy_decompress(&info);
    throw std::runtime_error("cannot decode " + path + ": " + error.Message);
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file.Handle);
  jpeg_read_header(&info, TRUE);
  TPixels pixels;
  pixels.Channels = info.num_components;  // as stored, before conversion
  info.out_color_space = JCS_RGB;
  info.dct_method = JDCT_ISLOW;
  jpeg_start_decompress(&info);
  pixels.Width = int(info.output_width);
  pixels.Height = int(info.output_height);
  pixels.Bytes.resize(size_t(pixels.Width) * pixels.Height * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &pixels.Bytes[size_t(info.output_scanline) * pixels.Width * 3];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return pixels;
}

// JPEG through libjpeg. Its default error handler ends the process, so errors
// jump back here instead: no file, however broken, gets further than a false.
#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <new>
#include <vector>

#include <jpeglib.h>

#include "platform/linux/picture_files.h"

namespace {

struct TJumpingErrors {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
};

[[noreturn]] void JumpBack(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TJumpingErrors*>(info->err)->Jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Adobe's CMYK JPEGs store the inks inverted: full ink is 0.
void CmykRowToRgb(const uint8_t* cmyk, uint8_t* rgb, int32_t width) {
  for (int32_t x = 0; x < width; ++x, cmyk += 4, rgb += 3)
    for (int c = 0; c < 3; ++c) rgb[c] = static_cast<uint8_t>(cmyk[c] * cmyk[3] / 255);
}

// Everything that may be live across a longjmp is plain data owned outside
// this function, so the jump skips no destructor.
bool Decode(jpeg_decompress_struct& info, const std::vector<uint8_t>& file, TBitmap& out,
            std::vector<uint8_t>& row) {
  jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
  info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&info);
  out.Width = static_cast<int32_t>(info.output_width);
  out.Height = static_cast<int32_t>(info.output_height);
  out.BitsPerPixel = grey ? 8 : 24;
  const size_t rowBytes = size_t(out.Width) * (grey ? 1 : 3);
  out.Bits.resize(rowBytes * out.Height);
  row.resize(size_t(out.Width) * info.output_components);
  while (info.output_scanline < info.output_height) {
    uint8_t* target = out.Bits.data() + rowBytes * info.output_scanline;
    JSAMPROW rows[1] = {cmyk ? row.data() : target};
    jpeg_read_scanlines(&info, rows, 1);
    if (cmyk) CmykRowToRgb(row.data(), target, out.Width);
  }
  jpeg_finish_decompress(&info);
  return true;
}

// libjpeg's errors land at the setjmp; nothing here changes after it.
bool DecodeGuarded(jpeg_decompress_struct& info, TJumpingErrors& errors, const std::vector<uint8_t>& file,
                   TBitmap& out, std::vector<uint8_t>& row) {
  if (setjmp(errors.Jump) != 0) return false;
  try {
    return Decode(info, file, out, row);
  } catch (const std::bad_alloc&) {
    return false;  // a picture too large for memory is not shown
  }
}

}  // namespace

bool TJpegDecoder::DecodeFile(const std::string& path, TBitmap& bitmap) {
  const std::vector<uint8_t> file = FileBytes(path);
  if (file.empty()) return false;
  jpeg_decompress_struct info{};
  TJumpingErrors errors{};
  info.err = jpeg_std_error(&errors.Manager);
  errors.Manager.error_exit = JumpBack;
  errors.Manager.output_message = IgnoreMessage;
  TBitmap decoded;
  std::vector<uint8_t> row;
  jpeg_create_decompress(&info);
  const bool ok = DecodeGuarded(info, errors, file, decoded, row);
  jpeg_destroy_decompress(&info);
  if (ok) bitmap = std::move(decoded);
  return ok;
}

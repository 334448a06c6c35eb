// kwin_screenshot FILE: what KWin's workspace shows, as PNG, through its
// ScreenShot2 interface on the session bus (KWin started with
// KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1, since this is no desktop file of
// an allowed program). KWin answers the call, then writes the raw pixels
// into the pipe it was given, from a thread of its own.
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cstring>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "tools/render/png_file.h"

namespace {

// QImage's formats that KWin hands out: 32-bit words 0xAARRGGBB, or bytes
// R, G, B, A.
constexpr uint32_t FormatRgb32 = 4, FormatArgb32 = 5, FormatArgb32Premultiplied = 6;
constexpr uint32_t FormatRgbx8888 = 16, FormatRgba8888 = 17, FormatRgba8888Premultiplied = 18;

int Fail(const std::string& what) {
  std::cerr << "kwin_screenshot: " << what << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return Fail("usage: kwin_screenshot FILE");
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return Fail("no pipe");
  std::vector<uint8_t> data;
  std::thread reader([&] {
    uint8_t buffer[65536];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) data.insert(data.end(), buffer, buffer + got);
  });
  sd_bus* bus = nullptr;
  sd_bus_message* reply = nullptr;
  sd_bus_error error = SD_BUS_ERROR_NULL;
  int result = sd_bus_open_user(&bus);
  if (result >= 0)
    result = sd_bus_call_method(bus, "org.kde.KWin", "/org/kde/KWin/ScreenShot2", "org.kde.KWin.ScreenShot2",
                                "CaptureWorkspace", &error, &reply, "a{sv}h", 2, "native-resolution", "b", 1,
                                "include-cursor", "b", 0, pipeEnds[1]);
  close(pipeEnds[1]);  // the bus sent a copy; the reader ends when KWin closes it
  reader.join();
  if (result < 0) return Fail(std::string("CaptureWorkspace failed: ") + (error.message ? error.message : strerror(-result)));
  uint32_t width = 0, height = 0, stride = 0, format = 0;
  sd_bus_message_enter_container(reply, 'a', "{sv}");
  while (sd_bus_message_enter_container(reply, 'e', "sv") > 0) {
    const char* key = nullptr;
    sd_bus_message_read(reply, "s", &key);
    const std::string name = key;
    uint32_t* field = name == "width" ? &width : name == "height" ? &height : name == "stride" ? &stride
                                                 : name == "format" ? &format : nullptr;
    if (field != nullptr) sd_bus_message_read(reply, "v", "u", field);
    else sd_bus_message_skip(reply, "v");
    sd_bus_message_exit_container(reply);
  }
  if (data.size() < size_t(stride) * height || width * 4 > stride)
    return Fail("KWin sent " + std::to_string(data.size()) + " bytes for " + std::to_string(width) + " x " +
                std::to_string(height));
  const bool words = format == FormatRgb32 || format == FormatArgb32 || format == FormatArgb32Premultiplied;
  const bool bytes = format == FormatRgbx8888 || format == FormatRgba8888 || format == FormatRgba8888Premultiplied;
  if (!words && !bytes) return Fail("KWin sent pixels of QImage format " + std::to_string(format));
  TPixelImage image{int32_t(width), int32_t(height), {}};
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* p = &data[size_t(y) * stride + x * 4];
      // Little-endian words lie in memory as B, G, R, A.
      const uint8_t r = words ? p[2] : p[0], g = p[1], b = words ? p[0] : p[2];
      image.Pixels.push_back(TColor(r | g << 8 | b << 16));
    }
  std::string problem;
  if (!WritePng(argv[1], image, problem)) return Fail(problem);
  sd_bus_message_unref(reply);
  sd_bus_unref(bus);
  return 0;
}

// chroot_picture_compare SHOT.png EXPECTED.png [X Y W H]...: what a real
// compositor's screenshot shows against tonemark-render's picture. Prints the
// screenshot's size, then for each rectangle (in both pictures' coordinates)
// how many of its pixels differ; exit code 2 when a file cannot be read.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/render/png_file.h"

int main(int argc, char** argv) {
  if (argc < 3 || (argc - 3) % 4 != 0) {
    std::fprintf(stderr, "usage: %s SHOT.png EXPECTED.png [X Y W H]...\n", argv[0]);
    return 2;
  }
  TPixelImage shot, expected;
  std::string error;
  if (!ReadPng(argv[1], shot, error) || !ReadPng(argv[2], expected, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  std::printf("%dx%d\n", shot.Width, shot.Height);
  for (int arg = 3; arg < argc; arg += 4) {
    const int left = std::atoi(argv[arg]), top = std::atoi(argv[arg + 1]);
    const int right = left + std::atoi(argv[arg + 2]), bottom = top + std::atoi(argv[arg + 3]);
    int differing = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        const bool inShot = x >= 0 && y >= 0 && x < shot.Width && y < shot.Height;
        const bool inExpected = x >= 0 && y >= 0 && x < expected.Width && y < expected.Height;
        if (!inShot || !inExpected ||
            shot.Pixels[size_t(y) * size_t(shot.Width) + size_t(x)] !=
                expected.Pixels[size_t(y) * size_t(expected.Width) + size_t(x)])
          ++differing;
      }
    }
    std::printf("%d\n", differing);
  }
  return 0;
}

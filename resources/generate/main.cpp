// tonemark-artwork: paints the welcome page's emblem, the reference
// photograph and the desktop icons, writes them and checks what it wrote.
//
//   tonemark-artwork hero  OUT.png
//   tonemark-artwork photo OUT.jpg
//   tonemark-artwork icons HERO.png FOLDER SIZE...   (FOLDER/SIZE.png, with alpha)
//   tonemark-artwork tray-icons HERO.png OUT.h SIZE...  (Tonewatch's icon as a header)
//   tonemark-artwork check-hero FILE.png | check-photo FILE.jpg   (checks only)
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/generate/hero_art.h"
#include "resources/generate/icons.h"
#include "resources/generate/image_files.h"
#include "resources/generate/reference_photo.h"
#include "resources/generate/self_check.h"
#include "resources/generate/tray_icon_header.h"

namespace {

// Fixed seeds: the dither noise, and so the files, are the same on every run.
constexpr uint32_t HeroSeed = 0x7E40'0001;
constexpr uint32_t PhotoSeed = 0x7E40'0002;

TPixels Pixels(const TPicture& picture, uint32_t seed) {
  return {picture.Width(), picture.Height(), 3, picture.Quantise(seed)};
}

int Usage() {
  std::cerr << "usage: tonemark-artwork hero OUT.png | photo OUT.jpg | "
               "icons HERO.png FOLDER SIZE... | tray-icons HERO.png OUT.h SIZE... | check-hero FILE.png | check-photo FILE.jpg\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() < 2) return Usage();
  try {
    if (args[0] == "hero" && args.size() == 2) {
      const TPixels pixels = Pixels(PaintHero(), HeroSeed);
      WritePng(args[1], pixels);
      CheckHero(args[1], pixels);
    } else if (args[0] == "photo" && args.size() == 2) {
      WriteJpeg(args[1], Pixels(PaintReferencePhoto(), PhotoSeed), PhotoQuality);
      CheckReferencePhoto(args[1]);
    } else if (args[0] == "check-hero" && args.size() == 2) {
      CheckHero(args[1], Pixels(PaintHero(), HeroSeed));
    } else if (args[0] == "check-photo" && args.size() == 2) {
      CheckReferencePhoto(args[1]);
    } else if (args[0] == "icons" && args.size() >= 4) {
      const TPixels hero = ReadPng(args[1]);
      for (size_t i = 3; i < args.size(); ++i) {
        const int size = std::atoi(args[i].c_str());
        if (size <= 0 || size > HeroSize) return Usage();
        WritePng(args[2] + "/" + std::to_string(size) + ".png", MakeIcon(hero, size));
      }
    } else if (args[0] == "tray-icons" && args.size() >= 4) {
      std::vector<int> sizes;
      for (size_t i = 3; i < args.size(); ++i) {
        sizes.push_back(std::atoi(args[i].c_str()));
        if (sizes.back() <= 0 || sizes.back() > HeroSize) return Usage();
      }
      WriteTrayIconHeader(args[1], args[2], sizes);
    } else {
      return Usage();
    }
  } catch (const std::exception& error) {
    std::cerr << "tonemark-artwork: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

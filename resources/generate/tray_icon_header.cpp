#include "resources/generate/tray_icon_header.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "resources/generate/icons.h"
#include "resources/generate/image_files.h"

void WriteTrayIconHeader(const std::string& heroPath, const std::string& headerPath, const std::vector<int>& sizes) {
  const TPixels hero = ReadPng(heroPath);
  std::ofstream out(headerPath, std::ios::binary);
  out << "// Tonewatch's icon: the emblem of resources/heropng.png at the sizes that\n"
         "// notification areas ask for, as 0xAARRGGBB words, rows from the top.\n"
         "// Made by tonemark-artwork (cmake --build --preset default --target\n"
         "// regenerate-artwork); not edited by hand.\n"
         "#pragma once\n\n#include <cstdint>\n\n"
         "struct TTrayIconPixels {\n  int32_t Size;\n  const uint32_t* Argb;\n};\n";
  for (int size : sizes) {
    const TPixels icon = MakeIcon(hero, size);
    out << "\ninline constexpr uint32_t TrayIcon" << size << "[] = {\n";
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const uint8_t* p = &icon.Bytes[(size_t(y) * size + x) * 4];
        char word[16];
        std::snprintf(word, sizeof word, "0x%02X%02X%02X%02X,", p[3], p[0], p[1], p[2]);
        out << word;
      }
      out << "\n";
    }
    out << "};\n";
  }
  out << "\ninline constexpr TTrayIconPixels TrayIcons[] = {";
  for (size_t i = 0; i < sizes.size(); ++i) out << (i ? ", " : "") << "{" << sizes[i] << ", TrayIcon" << sizes[i] << "}";
  out << "};\ninline constexpr int TrayIconCount = " << sizes.size() << ";\n";
  if (!out) throw std::runtime_error("cannot write " + headerPath);
}

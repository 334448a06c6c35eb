// tonemark-render: writes one page's pattern as a PNG. Exit 0 when written,
// 2 for bad arguments (a curve file that cannot be read among them), 1 when
// the PNG cannot be written.
#include <iostream>
#include <string>
#include <vector>

#include "paint/block_font.h"
#include "ramp/file_error.h"
#include "tools/render/png_file.h"
#include "tools/render/render_page.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv, argv + argc);
  TRenderOptions options;
  std::string error;
  if (!ParseRenderArguments(arguments, options, error)) {
    std::cerr << "tonemark-render: " << error << "\n" << RenderUsage << "\n";
    return 2;
  }
  TBlockFont font;
  try {
    const TRasterCanvas canvas = RenderPage(options, font);
    if (!WritePng(options.Out, TPixelImage{canvas.Width(), canvas.Height(), canvas.Pixels()}, error)) {
      std::cerr << "tonemark-render: " << error << "\n";
      return 1;
    }
  } catch (const TFileError& failure) {
    std::cerr << "tonemark-render: curve file " << options.Curve << ": " << failure.what() << "\n";
    return 2;
  }
  return 0;
}
